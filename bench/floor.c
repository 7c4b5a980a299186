/* The floor a stimsel run is measured against: read the norms file line by
 * line and write as many bytes as the run prints, with no parsing.
 * Usage: floor FILE BYTES */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  FILE* in = fopen(argv[1], "rb");
  if (in == NULL) return 1;
  char* line = NULL;
  size_t capacity = 0;
  unsigned long lines = 0;
  while (getline(&line, &capacity, in) != -1) ++lines;
  free(line);
  fclose(in);
  long bytes = atol(argv[2]);
  char block[4096];
  memset(block, 'x', sizeof block);
  for (; bytes > 0; bytes -= (long)sizeof block) {
    fwrite(block, 1, bytes < (long)sizeof block ? (size_t)bytes : sizeof block, stdout);
  }
  return lines == 0;
}
