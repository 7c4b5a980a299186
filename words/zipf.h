// The Zipf scale of word frequency (van Heuven et al., 2014).
#ifndef STIMSEL_WORDS_ZIPF_H_
#define STIMSEL_WORDS_ZIPF_H_

// Frequencies below this many per million count as this many, so that a
// frequency of 0 has a Zipf value (1.0).
constexpr double kZipfFloorPerMillion = 0.01;

// log10 of the frequency per million, plus 3.
double zipfOf(double perMillion);

#endif  // STIMSEL_WORDS_ZIPF_H_
