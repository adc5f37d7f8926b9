#include "DialogLayout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <wx/window.h>

#include "GuiText.h"

SDialogUnits FontDialogUnits(const wxWindow& window) {
  const wxSize letters = window.GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  // Rounded as the templates' own system rounds its base unit.
  const int averageWidth = (letters.x / 26 + 1) / 2;
  const int lineHeight = std::max(letters.y, window.GetCharHeight());
  return {std::max(averageWidth, 1) / 4.0, std::max(lineHeight, 1) / 8.0};
}

SDialogUnits FitDialogUnits(SDialogUnits font, const std::vector<SRect>& rects, const std::vector<wxSize>& natural) {
  SDialogUnits fit = font;
  for (size_t i = 0; i < rects.size() && i < natural.size(); ++i) {
    if (rects[i].width > 0 && natural[i].x > 0) fit.x = std::max(fit.x, double(natural[i].x) / rects[i].width);
    if (rects[i].height > 0 && natural[i].y > 0) fit.y = std::max(fit.y, double(natural[i].y) / rects[i].height);
  }
  return fit;
}

wxRect ToPixels(const SRect& rect, SDialogUnits units) {
  // Edges are rounded, not sizes, so that neighbours that touch in units touch in pixels.
  const int left = int(std::lround(rect.x * units.x));
  const int top = int(std::lround(rect.y * units.y));
  const int right = int(std::lround((rect.x + rect.width) * units.x));
  const int bottom = int(std::lround((rect.y + rect.height) * units.y));
  return {left, top, right - left, bottom - top};
}

namespace {

bool IsMnemonicCandidate(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

char16_t Folded(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

}  // namespace

std::vector<int> ChooseMnemonics(const std::vector<CStr>& texts) {
  std::u16string taken;
  std::vector<int> chosen;
  for (const CStr& text : texts) {
    const std::u16string& s = text.Str();
    int found = -1;
    // First pass: letters that start a word; second: any letter or digit.
    for (int pass = 0; pass < 2 && found < 0; ++pass) {
      for (size_t i = 0; i < s.size() && found < 0; ++i) {
        const bool wordStart = i == 0 || !IsMnemonicCandidate(s[i - 1]);
        if (!IsMnemonicCandidate(s[i]) || (pass == 0 && !wordStart)) continue;
        if (taken.find(Folded(s[i])) == std::u16string::npos) found = int(i);
      }
    }
    if (found >= 0) taken += Folded(s[size_t(found)]);
    chosen.push_back(found);
  }
  return chosen;
}

wxString MnemonicLabel(const CStr& text, int mnemonic) {
  CStr label;
  for (size_t i = 0; i < text.GetLength(); ++i) {
    if (int(i) == mnemonic) label += u'&';
    label += text[i];
    if (text[i] == u'&') label += u'&';
  }
  return ToWx(label);
}
