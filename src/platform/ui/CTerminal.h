#pragma once
#include <optional>
#include <string>

// The two ends of a console conversation: keys and lines read from one descriptor,
// prompts and messages written to another.
class CTerminal {
public:
  // Keys ReadKey gives besides ordinary bytes.
  static constexpr int kEnd = -1;     // end of input, Ctrl-C or Ctrl-D
  static constexpr int kEscape = 27;  // a lone Escape (not the start of a key sequence)

  CTerminal(int inputFd, int outputFd);

  bool InputIsTerminal() const;
  bool OutputIsTerminal() const;
  // Width of the output terminal, 80 when it does not say.
  int Columns() const;

  void Write(const std::string& text) const;
  // One key without echo and without waiting for Enter. Ctrl-C gives kEnd rather than
  // a signal, so the terminal's mode is always put back.
  int ReadKey() const;
  // One line with the terminal's own editing and echo; nothing at end of input.
  std::optional<std::string> ReadLine() const;

private:
  int m_in;
  int m_out;
  // Asked once: progress updates ask for every step, and a descriptor stays what it is.
  bool m_outIsTerminal;
  mutable int m_pending = -1;  // a key read ahead while telling Escape from a sequence
};
