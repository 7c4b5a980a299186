// Numbers written so that they read back exactly as they were loaded.
#ifndef STIMSEL_OUTPUT_NUMBER_FORMAT_H_
#define STIMSEL_OUTPUT_NUMBER_FORMAT_H_

#include <string>

// The shortest text that reads back as the same float ("5.67", not
// "5.670000076").
std::string shortestText(float value);

// The same for a double; a whole value prints without a decimal point.
std::string shortestText(double value);

// The double whose shortest text is that of `value`: what a reader of the
// exported text gets, for writers that hold numbers as doubles (JSON).
double asWritten(float value);

#endif  // STIMSEL_OUTPUT_NUMBER_FORMAT_H_
