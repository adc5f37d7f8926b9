#include "html/CHTMLReader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "html/CHTMLEntityResolver.h"
#include "html/OpenFileText.h"
#include "html/HTMLChars.h"

using namespace folio_html;

static_assert(std::endian::native == std::endian::little,
              "a UTF-16LE file is read in place through its mapping");

namespace {

constexpr size_t kMaxLength = std::numeric_limits<uint32_t>::max() - 1;

// Length of zero-terminated text. Reads whole aligned blocks, which never cross a
// page, so it may look past the terminator inside the last block. Four blocks per
// step: the length costs a pass over the whole text before reading starts.
#if defined(__SSE2__)
// Two mask bits per zero unit of the aligned block. No lambdas here: the sanitizer
// exemption does not carry over to them.
__attribute__((no_sanitize_address)) inline __m128i ZeroLanes(const char* block) {
  return _mm_cmpeq_epi16(_mm_load_si128(reinterpret_cast<const __m128i*>(block)),
                         _mm_setzero_si128());
}

__attribute__((no_sanitize_address)) size_t TerminatedLength(const char16_t* text) {
  const char* const start = reinterpret_cast<const char*>(text);
  const uintptr_t offset = reinterpret_cast<uintptr_t>(start) & 15;
  const char* block = start - offset;
  unsigned mask = unsigned(_mm_movemask_epi8(ZeroLanes(block))) >> offset;
  if (mask) return __builtin_ctz(mask) >> 1;
  // Single blocks up to a 64-byte boundary, then four at a time, then the block
  // with the zero.
  for (block += 16; (reinterpret_cast<uintptr_t>(block) & 63) != 0 && !mask; block += 16)
    mask = unsigned(_mm_movemask_epi8(ZeroLanes(block)));
  if (mask) return size_t(block - 16 - start + __builtin_ctz(mask)) >> 1;
  for (;; block += 64) {
    const __m128i any = _mm_or_si128(_mm_or_si128(ZeroLanes(block), ZeroLanes(block + 16)),
                                     _mm_or_si128(ZeroLanes(block + 32), ZeroLanes(block + 48)));
    if (_mm_movemask_epi8(any)) break;
  }
  for (;; block += 16)
    if ((mask = unsigned(_mm_movemask_epi8(ZeroLanes(block)))) != 0)
      return size_t(block - start + __builtin_ctz(mask)) >> 1;
}
#else
size_t TerminatedLength(const char16_t* text) { return std::char_traits<char16_t>::length(text); }
#endif

// The "--" that closes a comment whose text starts at body, with after set past
// the comment; end when the comment runs to the end of the text; null when it is
// not a comment. Out of line, so that the test at every "<" saves no registers.
[[gnu::noinline]] const char16_t* FindCommentClose(const char16_t* body, const char16_t* end,
                                                   const char16_t*& after) {
  const char16_t* dashes = body;
  for (;;) {
    dashes = FindChar(dashes, end, u'-');
    if (dashes >= end - 1) {
      // Unterminated: the comment swallows the rest of the text.
      after = end;
      return end;
    }
    if (dashes[1] == u'-') break;
    ++dashes;
  }
  if (dashes + 2 == end) return nullptr;
  const char16_t* gt = SkipSpace(dashes + 2, end);
  if (gt == end || *gt != u'>') return nullptr;
  after = gt + 1;
  return dashes;
}

// Where the text ends: its length, or an earlier zero code unit.
uint32_t EffectiveLength(const char16_t* text, size_t length) {
  length = std::min(length, kMaxLength);
  return static_cast<uint32_t>(FindChar(text, text + length, u'\0') - text);
}

// Whether refusing the "<" at lt as a tag or comment may have taken what lies far beyond
// it into account. A closing tag, or an opening one whose name is not followed by space
// or "/", is refused for the few characters after its "<".
bool RefusalLooksFar(const char16_t* lt, const char16_t* end) {
  if (end - lt >= 4 && lt[1] == u'!' && lt[2] == u'-' && lt[3] == u'-') return true;
  if (end - lt < 2 || !IsAlpha(lt[1])) return false;
  const char16_t* nameEnd = SkipNameChars(lt + 1, end);
  return nameEnd != end && (IsSpace(*nameEnd) || *nameEnd == u'/');
}

}  // namespace

uint32_t CHTMLReader::Read(const char16_t* text) {
  if (!text) return 0;
  const size_t length = TerminatedLength(text);
  if (length == 0) return 0;
  m_text = text;
  m_length = static_cast<uint32_t>(std::min(length, kMaxLength));
  return ParseWithTextSet();
}

uint32_t CHTMLReader::Read(std::u16string_view text) {
  if (text.empty()) return 0;
  m_text = text.data();
  m_length = EffectiveLength(text.data(), text.size());
  return ParseWithTextSet();
}

uint32_t CHTMLReader::ReadFromFile(int fileDescriptor) {
  uint64_t size = 0;
  if (!OpenFileText::GetSize(fileDescriptor, size) || size < 2) return 0;
  unsigned char mark[2];
  if (OpenFileText::ReadAt(fileDescriptor, 0, mark, 2) != 2) return 0;
  if (mark[0] == 0xFF && mark[1] == 0xFE) {
    std::u16string text(static_cast<size_t>(std::min<uint64_t>(size / 2 - 1, kMaxLength)), u'\0');
    const int64_t read = OpenFileText::ReadAt(fileDescriptor, 2, text.data(), text.size() * 2);
    if (read <= 0) return 0;
    text.resize(static_cast<size_t>(read) / 2);
    m_text = text.data();
    m_length = EffectiveLength(m_text, text.size());
    return ParseWithTextSet();
  }
  // Narrow text: one character per byte, as the C locale widens it, so positions
  // equal byte offsets.
  std::u16string widened;
  const uint64_t length = std::min<uint64_t>(size, kMaxLength);
  widened.reserve(static_cast<size_t>(length));
  unsigned char chunk[1 << 16];
  for (uint64_t at = 0; at < length;) {
    const int64_t read = OpenFileText::ReadAt(fileDescriptor, at, chunk,
                                              static_cast<size_t>(std::min<uint64_t>(sizeof chunk, length - at)));
    if (read <= 0) break;
    const unsigned char* begin = chunk;
    const unsigned char* end = begin + read;
    const unsigned char* zero = std::find(begin, end, 0);
    widened.append(begin, zero);
    if (zero != end) break;
    at += static_cast<uint64_t>(read);
  }
  if (widened.empty()) return 0;
  m_text = widened.data();
  m_length = static_cast<uint32_t>(widened.size());
  return ParseWithTextSet();
}

uint32_t CHTMLReader::ParseWithTextSet() {
  const uint32_t position = ParseDocument();
  m_text = nullptr;
  m_length = 0;
  return position;
}

bool CHTMLReader::ParseComment(CStr& comment) {
  const char16_t* lt = m_text + m_position;
  if (m_length - m_position < 4 || lt[1] != u'!' || lt[2] != u'-' || lt[3] != u'-') return false;
  const char16_t* end = m_text + m_length;
  const char16_t* gt = nullptr;
  const char16_t* close = FindCommentClose(lt + 4, end, gt);
  if (!close) return false;
  comment.Str().assign(lt + 4, close);
  m_position = static_cast<uint32_t>(gt - m_text);
  return true;
}

bool CHTMLReader::ParseTag(CHTMLTag& tag, bool& isOpening, bool& isClosing) {
  const std::u16string_view rest(m_text + m_position, m_length - m_position);
  const size_t consumed = tag.ParseFromString(rest, true, &m_tagEndCache, true);
  if (consumed == 0) return false;
  isOpening = tag.IsOpening();
  isClosing = tag.IsClosing();
  m_position += static_cast<uint32_t>(consumed);
  return true;
}

void CHTMLReader::NormalizeCharacters(CStr&) {}

bool CHTMLReader::FlushText(uint32_t runStart, uint32_t runEnd, bool last) {
  std::u16string& pending = m_pending.Str();
  if (runEnd == runStart && pending.empty()) return true;
  std::u16string& text = m_runText.Str();
  if (pending.empty()) {
    // Keeps the capacity and copies once: resize would fill the grown part first,
    // and assign goes through the string's general replace.
    text.clear();
    text.append(m_text + runStart, runEnd - runStart);
  } else {
    text.assign(pending);
    text.append(m_text + runStart, runEnd - runStart);
    pending.clear();
  }
  NormalizeCharacters(m_runText);
  if (last) {
    size_t keep = text.size();
    while (keep > 0 && IsSpace(text[keep - 1])) --keep;
    text.resize(keep);
  }
  if (text.empty() || !Wants(eNotifyCharacters)) return true;
  bool abort = false;
  m_sink->Characters(m_runText, m_appData, abort);
  return !abort;
}

uint32_t CHTMLReader::ParseDocument() {
  if (!m_text || m_length == 0) return 0;
  // Read and ReadFromFile end the text at its first zero code unit.
  const char16_t* const text = m_text;
  const char16_t* const end = text + m_length;
  m_position = 0;
  m_pending.Str().clear();
  m_tagEndCache = {};
  m_refusedLookingFar = m_refusedSinceReport = m_reachedAfresh = false;
  bool aborted = false;
  if (Wants(eNotifyParse)) m_sink->BeginParse(m_appData, aborted);

  uint32_t runStart = static_cast<uint32_t>(SkipSpace(text, end) - text);
  uint32_t semicolon = 0;  // first ";" at or after the last "&" tried; m_length if none
  bool semicolonKnown = false;
  const char16_t second = m_resolveEntities ? u'&' : u'<';
  const char16_t* p = text + runStart;
  while (!aborted) {
    p = FindEither(p, end, u'<', second);
    if (p == end) break;
    const uint32_t at = static_cast<uint32_t>(p - text);
    if (*p == u'&') {
      if (!semicolonKnown || semicolon < at) {
        semicolon = static_cast<uint32_t>(FindChar(p, end, u';') - text);
        semicolonKnown = true;
      }
      char16_t unit = 0;
      const size_t length =
          semicolon == m_length
              ? 0
              : CHTMLEntityResolver::ResolveEntity({p, size_t(end - p)}, semicolon - at, unit);
      if (length == 0) {
        ++p;
        continue;
      }
      m_pending.Str().append(text + runStart, at - runStart).push_back(unit);
      p += length;
      runStart = static_cast<uint32_t>(p - text);
      continue;
    }
    m_position = at;
    bool isOpening = false, isClosing = false;
    const bool isComment = ParseComment(m_comment);
    if (!isComment && !ParseTag(m_tag, isOpening, isClosing)) {
      if (!m_refusedLookingFar) m_refusedLookingFar = RefusalLooksFar(p, end);
      m_refusedSinceReport = true;
      ++p;
      continue;
    }
    m_reachedAfresh = !m_refusedLookingFar && !m_refusedSinceReport;
    m_refusedSinceReport = false;
    const uint32_t next = m_position;
    // Adjacent tags leave nothing to flush; that test is worth keeping out of the call.
    if ((at != runStart || !m_pending.IsEmpty()) && !FlushText(runStart, at, false)) {
      aborted = true;
      break;
    }
    runStart = next;
    p = text + next;
    if (isComment) {
      if (!m_comment.IsEmpty() && Wants(eNotifyComment))
        m_sink->Comment(m_comment, m_appData, aborted);
      continue;
    }
    const uint32_t length = next - at;
    if (isOpening && Wants(eNotifyStartTag)) {
      m_sink->StartTag(&m_tag, at, length, m_appData, aborted);
      if (aborted) break;
    }
    if (isClosing && Wants(eNotifyEndTag)) m_sink->EndTag(&m_tag, at, length, m_appData, aborted);
  }
  if (!aborted) {
    m_position = m_length;
    aborted = !FlushText(runStart, m_length, true);
  }
  if (Wants(eNotifyParse)) m_sink->EndParse(m_appData, aborted);
  return m_position;
}
