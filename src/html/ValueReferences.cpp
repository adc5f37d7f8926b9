#include "html/ValueReferences.h"

#include <algorithm>
#include <random>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "html/CHTMLEntityResolver.h"

namespace {

constexpr uint64_t kModulus = (uint64_t(1) << 61) - 1;

uint64_t MulMod(uint64_t a, uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  uint64_t r = static_cast<uint64_t>(product & kModulus) + static_cast<uint64_t>(product >> 61);
  while (r >= kModulus) r -= kModulus;
  return r;
}

// A random base per process: nobody can prepare text whose hashes collide.
uint64_t HashBase() {
  static const uint64_t base = [] {
    std::random_device device;
    return (((uint64_t(device()) << 32) | device()) % (kModulus - 65536)) + 65536;
  }();
  return base;
}

// Replacing a reference's later copies one by one would rescan the value for every
// reference. Instead the value is read once: a copy of a reference already resolved
// can only end at a ";", so each ";" met is tested against the references resolved
// so far, in the order they were resolved, and replaced there. Text between the last
// final position and the next surviving ";" is the work buffer; it holds no other ";".
class CValueResolver {
public:
  explicit CValueResolver(const std::u16string& value) : m_value(value), m_base(HashBase()) {
    m_prefix.push_back(0);
    m_powers.push_back(1);
  }

  std::u16string Run() {
    size_t cursor = 0;
    for (;;) {
      const size_t amp = m_work.find(u'&', cursor);
      if (amp == std::u16string::npos) {
        Flush(m_work.size());
        if (!Produce()) break;
        cursor = 0;
        continue;
      }
      const size_t semicolon = m_work.size() - 1;
      char16_t unit = 0;
      const size_t length = CHTMLEntityResolver::ResolveEntity(
          std::u16string_view(m_work).substr(amp), semicolon - amp, unit);
      if (length == 0) {
        cursor = amp + 1;
        continue;
      }
      Learn(amp, unit);
      Flush(amp);
      m_out.push_back(unit);
      Clear();
      if (!Produce()) break;
      cursor = 0;
    }
    m_out += m_work;
    m_out.append(m_value, m_read);
    return std::move(m_out);
  }

private:
  struct SText {
    size_t offset, length;          // in m_store
    std::vector<uint32_t> steps;    // when it was resolved, ascending
    char16_t unit;
  };
  struct SUnit {
    size_t position;  // in m_work
    uint32_t step;
  };

  uint64_t Hash(size_t from, size_t to) const {
    const uint64_t high = MulMod(m_prefix[from], m_powers[to - from]);
    return (m_prefix[to] + kModulus - high) % kModulus;
  }

  void Push(char16_t c) {
    m_work.push_back(c);
    m_prefix.push_back((MulMod(m_prefix.back(), m_base) + c) % kModulus);
  }

  void Clear() {
    m_work.clear();
    m_prefix.resize(1);
    m_units.clear();
  }

  // Moves the first count characters of the work buffer to the output.
  void Flush(size_t count) {
    m_out.append(m_work, 0, count);
    if (count == m_work.size()) Clear();
  }

  // Records the reference that fills the work buffer from amp to its end.
  void Learn(size_t amp, char16_t unit) {
    const size_t length = m_work.size() - amp;
    while (m_powers.size() <= length) m_powers.push_back(MulMod(m_powers.back(), m_base));
    const uint32_t step = ++m_steps;
    const uint64_t hash = Hash(amp, m_work.size());
    const std::u16string_view text = std::u16string_view(m_work).substr(amp);
    auto [first, last] = m_byHash.equal_range(hash);
    for (; first != last; ++first) {
      SText& known = m_texts[first->second];
      if (std::u16string_view(m_store).substr(known.offset, known.length) == text) {
        known.steps.push_back(step);
        return;
      }
    }
    m_byHash.emplace(hash, m_texts.size());
    m_texts.push_back({m_store.size(), length, {step}, unit});
    m_store += text;
    const auto at = std::lower_bound(m_lengths.begin(), m_lengths.end(), length);
    if (at == m_lengths.end() || *at != length) m_lengths.insert(at, length);
  }

  // The latest step that put a character into m_work at or after position.
  uint32_t LatestStepFrom(size_t position) const {
    const auto at = std::lower_bound(m_units.begin(), m_units.end(), position,
                                     [](const SUnit& u, size_t p) { return u.position < p; });
    return at == m_units.end() ? 0 : at->step;
  }

  // Replaces a copy of a resolved reference that ends the work buffer: of those that
  // fit, the one resolved first, among steps after the copy's text came to be.
  bool ReplaceCopyAtEnd() {
    const size_t end = m_work.size();
    const SText* best = nullptr;
    uint32_t bestStep = UINT32_MAX;
    for (const size_t length : m_lengths) {
      if (length > end) break;
      const size_t from = end - length;
      if (m_work[from] != u'&') continue;
      const uint32_t after = LatestStepFrom(from);
      auto [first, last] = m_byHash.equal_range(Hash(from, end));
      for (; first != last; ++first) {
        const SText& known = m_texts[first->second];
        if (known.length != length) continue;
        const auto step = std::upper_bound(known.steps.begin(), known.steps.end(), after);
        if (step == known.steps.end() || *step >= bestStep) continue;
        if (std::u16string_view(m_store).substr(known.offset, length) !=
            std::u16string_view(m_work).substr(from))
          continue;
        best = &known;
        bestStep = *step;
      }
    }
    if (!best) return false;
    const size_t from = end - best->length;
    m_work.resize(from);
    m_prefix.resize(from + 1);
    while (!m_units.empty() && m_units.back().position >= from) m_units.pop_back();
    while (!m_units.empty() && m_units.back().step <= bestStep) m_units.pop_back();
    m_units.push_back({from, bestStep});
    Push(best->unit);
    return true;
  }

  // Reads the value on to the next ";" that survives the copies replaced there;
  // false when the value holds no further ";".
  bool Produce() {
    for (;;) {
      const size_t semicolon = m_value.find(u';', m_read);
      if (semicolon == std::u16string::npos) return false;
      for (; m_read <= semicolon; ++m_read) Push(m_value[m_read]);
      bool merged = false;
      while (ReplaceCopyAtEnd())
        if (m_work.back() != u';') {
          merged = true;
          break;
        }
      if (!merged) return true;
    }
  }

  const std::u16string& m_value;
  size_t m_read = 0;
  std::u16string m_out;
  std::u16string m_work;
  std::vector<uint64_t> m_prefix;  // m_prefix[i]: hash of m_work[0, i)
  std::vector<uint64_t> m_powers;
  const uint64_t m_base;
  std::vector<SUnit> m_units;  // characters replaced into m_work; later ones with
                               // an earlier step are left out, as they never decide
  std::vector<SText> m_texts;
  std::unordered_multimap<uint64_t, size_t> m_byHash;
  std::u16string m_store;
  std::vector<size_t> m_lengths;  // of resolved references, ascending
  uint32_t m_steps = 0;
};

}  // namespace

namespace {

// Table names and the digits of a number are ASCII: no other unit can become part of
// a reference.
bool CanJoinAReference(char16_t unit) {
  return unit == u'&' || unit == u';' || unit == u'#' || (unit >= u'0' && unit <= u'9') ||
         (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

// When no resolved unit can join a reference and no reference holds a second "&",
// every later copy of a reference starts where a left-to-right pass meets a reference
// anyway, and the text around a replaced copy stays what it was to the pass. One such
// pass then gives the rule's result; false when the value needs the whole rule.
bool ResolveInOnePass(std::u16string& value) {
  // A reference gives one unit for several characters: the result is never longer.
  std::u16string out(value.size(), u'\0');
  char16_t* to = out.data();
  const char16_t* p = value.data();
  const char16_t* const end = p + value.size();
  const char16_t* semicolon = nullptr;  // the first ";" at or after p, once looked for
  while (p < end) {
    if (*p != u'&') {
      *to++ = *p++;
      continue;
    }
    if (!semicolon || semicolon < p) {
      semicolon = std::find(p, end, u';');
      if (semicolon == end) break;
    }
    char16_t unit = 0;
    const size_t length = CHTMLEntityResolver::ResolveEntity(std::u16string_view(p, end - p), semicolon - p, unit);
    if (length == 0) {
      *to++ = *p++;
      continue;
    }
    if (CanJoinAReference(unit) || std::find(p + 1, semicolon, u'&') != semicolon) return false;
    *to++ = unit;
    p += length;
  }
  to = std::copy(p, end, to);
  out.resize(to - out.data());
  value.swap(out);
  return true;
}

}  // namespace

void ResolveValueReferences(std::u16string& value) {
  if (value.find(u'&') == std::u16string::npos) return;
  if (!ResolveInOnePass(value)) value = CValueResolver(value).Run();
}
