#include "ui/Fonts.h"

#include <memory>
#include <vector>

#include "base/Handles.h"

namespace orv {
namespace {

struct CachedFont {
  FontSpec wanted;
  UniqueFont font;
};

std::vector<std::unique_ptr<CachedFont>>& Cache() {
  static std::vector<std::unique_ptr<CachedFont>> cache;
  return cache;
}

}  // namespace

HFONT SharedFont(const FontSpec& wanted) {
  for (const auto& cached : Cache()) {
    if (cached->wanted == wanted) return cached->font.Get();
  }
  LOGFONTA lf{};
  lf.lfHeight = -wanted.height;
  lf.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = wanted.underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wanted.face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  auto cached = std::make_unique<CachedFont>();
  cached->wanted = wanted;
  cached->font.Reset(CreateFontIndirectA(&lf));
  HFONT font = cached->font.Get();
  Cache().push_back(std::move(cached));
  return font;
}

FontSpec DescribeFont(HFONT font) {
  for (const auto& cached : Cache()) {
    if (cached->font.Get() == font) return cached->wanted;
  }
  return FontSpec{};
}

}  // namespace orv
