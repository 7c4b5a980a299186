/* Runs a command RUNS times with its output sent to /dev/null and prints the
 * median wall time in milliseconds and the largest peak resident memory in
 * KiB: "median_ms max_rss_kib". Usage: timer RUNS DIR COMMAND [ARGS...] */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static int compare(const void* a, const void* b) {
  const double x = *(const double*)a, y = *(const double*)b;
  return (x > y) - (x < y);
}

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const int runs = atoi(argv[1]);
  double* times = calloc((size_t)runs, sizeof *times);
  long rss = 0;
  for (int i = 0; i < runs; ++i) {
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      if (chdir(argv[2]) != 0) _exit(127);
      execv(argv[3], argv + 3);
      _exit(127);
    }
    int status;
    struct rusage usage;
    wait4(pid, &status, 0, &usage);
    clock_gettime(CLOCK_MONOTONIC, &end);
    times[i] = (end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6;
    if (usage.ru_maxrss > rss) rss = usage.ru_maxrss;
  }
  qsort(times, (size_t)runs, sizeof *times, compare);
  printf("%.3f %ld\n", times[runs / 2], rss);
  free(times);
  return 0;
}
