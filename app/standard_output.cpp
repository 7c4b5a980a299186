#include "app/standard_output.h"

#include <unistd.h>

#include <cerrno>

namespace {
constexpr size_t kBufferBytes = 1 << 16;
}

StandardOutput::StandardOutput(int fd) : fd_(fd), buffer_(new char[kBufferBytes]) {
  setp(buffer_.get(), buffer_.get() + kBufferBytes);
}

StandardOutput::~StandardOutput() {
  flushBuffer();
}

bool StandardOutput::flushBuffer() {
  const char* data = pbase();
  size_t left = static_cast<size_t>(pptr() - pbase());
  setp(buffer_.get(), buffer_.get() + kBufferBytes);
  while (left > 0 && error_ == 0) {
    const ssize_t written = ::write(fd_, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error_ = written < 0 ? errno : EIO;
      break;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return error_ == 0;
}

StandardOutput::int_type StandardOutput::overflow(int_type c) {
  if (!flushBuffer()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

int StandardOutput::sync() {
  return flushBuffer() ? 0 : -1;
}
