#include "CTerminal.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Puts the terminal's settings back however the read ends.
class CTermiosGuard {
public:
  CTermiosGuard(int fd, const termios& saved) : m_fd(fd), m_saved(saved) {}
  ~CTermiosGuard() { tcsetattr(m_fd, TCSANOW, &m_saved); }

private:
  int m_fd;
  termios m_saved;
};

// One byte, or -1 at end of input or on error; EINTR is retried.
int ReadByte(int fd) {
  unsigned char byte = 0;
  for (;;) {
    const ssize_t n = read(fd, &byte, 1);
    if (n == 1) return byte;
    if (n < 0 && errno == EINTR) continue;
    return -1;
  }
}

}  // namespace

bool CTerminal::InputIsTerminal() const { return isatty(m_in) == 1; }

CTerminal::CTerminal(int inputFd, int outputFd)
    : m_in(inputFd), m_out(outputFd), m_outIsTerminal(isatty(outputFd) == 1) {}

bool CTerminal::OutputIsTerminal() const { return m_outIsTerminal; }

int CTerminal::Columns() const {
  winsize size{};
  if (ioctl(m_out, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

void CTerminal::Write(const std::string& text) const {
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    const ssize_t n = write(m_out, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // nowhere to tell the user; the answer still stands
    data += n;
    left -= static_cast<size_t>(n);
  }
}

int CTerminal::ReadKey() const {
  termios saved{};
  if (tcgetattr(m_in, &saved) != 0) return kEnd;
  CTermiosGuard guard(m_in, saved);
  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(m_in, TCSANOW, &raw) != 0) return kEnd;

  for (;;) {
    const int key = m_pending >= 0 ? m_pending : ReadByte(m_in);
    m_pending = -1;
    if (key < 0 || key == 3 || key == 4) return kEnd;
    if (key != kEscape) return key;
    // Arrow and function keys start with Escape too: a byte within a tenth of a second
    // begins such a sequence, which is read to its end and dropped.
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 1;
    tcsetattr(m_in, TCSANOW, &raw);
    int next = ReadByte(m_in);
    if (next == '[') {
      while (next >= 0 && !(next >= 0x40 && next <= 0x7E && next != '[')) next = ReadByte(m_in);
    } else if (next == 'O') {
      ReadByte(m_in);
    } else if (next >= 0 && next < 0x20) {
      m_pending = next;  // a lone Escape followed by another key such as Enter
      next = -1;
    }
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(m_in, TCSANOW, &raw);
    if (next < 0) return kEscape;
  }
}

std::optional<std::string> CTerminal::ReadLine() const {
  std::string line;
  for (;;) {
    const int byte = ReadByte(m_in);
    // Ctrl-D arrives as a byte when the terminal is not in line mode.
    if (byte < 0 || (byte == 4 && line.empty())) {
      if (line.empty()) return std::nullopt;
      return line;
    }
    if (byte == '\n') return line;
    if (byte != '\r') line += static_cast<char>(byte);
  }
}
