// The program's resources, compiled into this test program by the same orv_add_resources() that
// builds Orvendex.exe, and read back through the Windows loader: what Windows and Explorer will
// see.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/res/ResourceIds.h"
#include "base/Handles.h"
#include "tests/support/WinTestTools.h"

namespace orv {
namespace {

struct Bytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

Bytes FindBytes(const char* name, const char* type) {
  HRSRC info = FindResourceA(nullptr, name, type);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(nullptr, info);
  return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(nullptr, info)};
}

// One image of an icon group, as RT_GROUP_ICON lists it.
struct IconEntry {
  int side;  // 0 in the directory means 256
  int bits;
  DWORD bytes;
  WORD id;
};

std::vector<IconEntry> IconGroup(const char* name) {
  Bytes group = FindBytes(name, RT_GROUP_ICON);
  std::vector<IconEntry> entries;
  WORD count = 0;
  if (group.size >= 6) std::memcpy(&count, group.data + 4, 2);
  for (WORD i = 0; i < count && 6 + 14u * (i + 1) <= group.size; ++i) {
    const BYTE* e = group.data + 6 + 14 * i;
    IconEntry entry{e[0] == 0 ? 256 : e[0], e[6] | e[7] << 8, 0, 0};
    std::memcpy(&entry.bytes, e + 8, 4);
    std::memcpy(&entry.id, e + 12, 2);
    entries.push_back(entry);
  }
  return entries;
}

Bytes IconImage(const IconEntry& entry) { return FindBytes(MAKEINTRESOURCEA(entry.id), RT_ICON); }

// Whether the AND-mask bit of pixel (x, y), counted from the top, says "transparent".
bool MaskBit(const Bytes& image, size_t maskOffset, int side, int x, int y) {
  size_t stride = ((side + 31) / 32) * 4;
  const BYTE* row = image.data + maskOffset + stride * (side - 1 - y);
  return (row[x / 8] & (0x80 >> (x % 8))) != 0;
}

// The size an icon handle really has, from its colour bitmap.
std::pair<int, int> IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {0, 0};
  BITMAP bm{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
}

// Every image of the group: PNG-compressed at 256 px, as Vista and later read it; else a bitmap of
// the listed size and depth and its AND mask. At 32 bits the alpha channel is transparent in the
// corners and opaque in the middle, and the mask agrees with it for systems without alpha; at 256
// colours a masked-out pixel must draw nothing: its colour is XORed onto the screen, so it is
// black.
void ExpectImages(const std::vector<IconEntry>& entries) {
  for (const IconEntry& e : entries) {
    SCOPED_TRACE(std::to_string(e.bits) + "-bit image of " + std::to_string(e.side) + " px");
    const Bytes image = IconImage(e);
    ASSERT_EQ(image.size, e.bytes);
    if (e.side == 256) {
      ASSERT_GE(image.size, 24u);  // the signature, then IHDR with 256 x 256
      EXPECT_EQ(std::memcmp(image.data, "\x89PNG\r\n\x1a\n", 8), 0);
      EXPECT_EQ(std::memcmp(image.data + 12, "IHDR\0\0\x01\0\0\0\x01\0", 12), 0);
      continue;
    }
    BITMAPINFOHEADER h{};
    std::memcpy(&h, image.data, std::min<std::size_t>(image.size, sizeof h));
    ASSERT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, e.side);
    EXPECT_EQ(h.biHeight, 2 * e.side);
    EXPECT_EQ(h.biBitCount, e.bits);
    const std::size_t pixels = 40 + (e.bits == 8 ? 4 * 256 : 0);
    const std::size_t mask = pixels + static_cast<std::size_t>(e.side) * e.side * e.bits / 8;
    ASSERT_EQ(image.size, mask + ((e.side + 31) / 32) * 4 * e.side);
    if (e.bits == 32) {
      auto alpha = [&](int x, int y) {
        return image.data[pixels + 4 * ((e.side - 1 - y) * e.side + x) + 3];
      };
      EXPECT_EQ(alpha(0, e.side - 1), 0);  // the small sizes reach the top edge; none the bottom
      EXPECT_EQ(alpha(e.side - 1, e.side - 1), 0);
      EXPECT_EQ(alpha(e.side / 2, e.side / 2), 255);
      int disagreements = 0;
      for (int y = 0; y < e.side; ++y)
        for (int x = 0; x < e.side; ++x)
          if (MaskBit(image, mask, e.side, x, y) != (alpha(x, y) == 0)) ++disagreements;
      EXPECT_EQ(disagreements, 0);
      continue;
    }
    const BYTE* palette = image.data + 40;
    int visibleThroughHoles = 0, opaque = 0;
    for (int y = 0; y < e.side; ++y) {
      for (int x = 0; x < e.side; ++x) {
        const BYTE* c = palette + 4 * image.data[pixels + (e.side - 1 - y) * e.side + x];
        if (!MaskBit(image, mask, e.side, x, y))
          ++opaque;
        else if (c[0] || c[1] || c[2])
          ++visibleThroughHoles;
      }
    }
    EXPECT_EQ(visibleThroughHoles, 0);
    EXPECT_GT(opaque, e.side * e.side / 3);
    EXPECT_TRUE(MaskBit(image, mask, e.side, 0, e.side - 1));  // bottom corner: transparent
  }
}

TEST(ProgramIcon, HoldsFive32BitImagesFrom64To16Pixels) {
  std::vector<IconEntry> entries = IconGroup(res::kMainIcon);
  std::vector<std::pair<int, int>> found;
  for (const IconEntry& e : entries) found.emplace_back(e.side, e.bits);
  EXPECT_EQ(found,
            (std::vector<std::pair<int, int>>{{64, 32}, {48, 32}, {32, 32}, {24, 32}, {16, 32}}));
  ExpectImages(entries);
}

TEST(ProgramIcon, LoadsAtEverySizeItHolds) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  UniqueIcon standard(LoadIconA(self, res::kMainIcon));
  EXPECT_TRUE(standard.Valid());
  for (int side : {16, 24, 32, 48, 64}) {
    UniqueIcon icon(
        static_cast<HICON>(LoadImageA(self, res::kMainIcon, IMAGE_ICON, side, side, 0)));
    ASSERT_TRUE(icon.Valid()) << side;
    EXPECT_EQ(IconSize(icon.Get()), std::pair(side, side));
  }
}

TEST(WindowIcon, HoldsSevenImagesIn32BitAnd256Colours) {
  std::vector<IconEntry> entries = IconGroup(res::kWindowIcon);
  std::set<std::pair<int, int>> found;
  for (const IconEntry& e : entries) found.emplace(e.side, e.bits);
  EXPECT_EQ(entries.size(), 7u);
  EXPECT_EQ(found, (std::set<std::pair<int, int>>{
                       {256, 32}, {48, 32}, {32, 32}, {16, 32}, {48, 8}, {32, 8}, {16, 8}}));
  ExpectImages(entries);
}

TEST(WindowIcon, EveryImageDecodes) {
  for (const IconEntry& e : IconGroup(res::kWindowIcon)) {
    Bytes image = IconImage(e);
    UniqueIcon icon(CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE,
                                             0x00030000, e.side, e.side, 0));
    ASSERT_TRUE(icon.Valid()) << e.side << " px, " << e.bits << " bits";
    EXPECT_EQ(IconSize(icon.Get()).first, e.side) << e.bits << " bits";
  }
}

// A DIB section with its pixels reachable, as the pages draw the pictures.
struct Dib {
  UniqueBitmap bitmap;
  DIBSECTION section{};
  std::tuple<LONG, LONG, WORD> WidthHeightBits() const {
    return {section.dsBm.bmWidth, section.dsBm.bmHeight, section.dsBm.bmBitsPixel};
  }
  const BYTE* Pixel(int x, int y) const {  // y from the top
    int stride = ((section.dsBm.bmWidth * section.dsBm.bmBitsPixel + 31) / 32) * 4;
    int row = section.dsBmih.biHeight > 0 ? section.dsBm.bmHeight - 1 - y : y;
    return static_cast<const BYTE*>(section.dsBm.bmBits) + row * stride +
           x * section.dsBm.bmBitsPixel / 8;
  }
};

Dib LoadPicture(const char* name) {
  Dib dib;
  dib.bitmap.Reset(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (dib.bitmap) GetObjectA(dib.bitmap.Get(), sizeof dib.section, &dib.section);
  return dib;
}

TEST(Pictures, GeneralPictureIs128x88In24BitOnTheDialogFace) {
  Dib dib = LoadPicture(res::kGeneralPicture);
  ASSERT_TRUE(dib.bitmap.Valid());
  EXPECT_EQ(dib.WidthHeightBits(), std::tuple(128, 88, 24));
  for (auto [x, y] : {std::pair{0, 0}, {127, 0}, {0, 87}, {127, 87}}) {
    const BYTE* p = dib.Pixel(x, y);
    EXPECT_EQ(RGB(p[2], p[1], p[0]), RGB(240, 240, 240)) << x << "," << y;
  }
}

TEST(Pictures, AboutPictureIs128x128WithPremultipliedAlpha) {
  Dib dib = LoadPicture(res::kAboutPicture);
  ASSERT_TRUE(dib.bitmap.Valid());
  ASSERT_EQ(dib.WidthHeightBits(), std::tuple(128, 128, 32));
  int notPremultiplied = 0, clear = 0, solid = 0;
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const BYTE* p = dib.Pixel(x, y);
      if (std::max({p[0], p[1], p[2]}) > p[3]) ++notPremultiplied;
      clear += p[3] == 0;
      solid += p[3] == 255;
    }
  }
  EXPECT_EQ(notPremultiplied, 0);
  EXPECT_GT(clear, 128 * 128 / 20);
  EXPECT_GT(solid, 128 * 128 / 2);
  EXPECT_EQ(dib.Pixel(0, 0)[3], 0);
  EXPECT_EQ(dib.Pixel(64, 64)[3], 255);
}

TEST(Pictures, AboutPictureBlendsOntoAnyBackground) {
  Dib picture = LoadPicture(res::kAboutPicture);
  ASSERT_TRUE(picture.bitmap.Valid());
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 128, -128, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(target.Valid());
  auto* out = static_cast<DWORD*>(bits);
  std::fill(out, out + 128 * 128, 0x00C00000u);  // a red that the picture does not contain
  {
    UniqueMemoryDc to(CreateCompatibleDC(nullptr)), from(CreateCompatibleDC(nullptr));
    SelectGuard selectTo(to.Get(), target.Get()), selectFrom(from.Get(), picture.bitmap.Get());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(to.Get(), 0, 0, 128, 128, from.Get(), 0, 0, 128, 128, blend));
    GdiFlush();
  }
  EXPECT_EQ(out[0] & 0xFFFFFF, 0xC00000u);  // transparent corner: the background shows
  const BYTE* centre = picture.Pixel(64, 64);
  EXPECT_EQ(out[64 * 128 + 64] & 0xFFFFFF,
            static_cast<DWORD>(centre[2] << 16 | centre[1] << 8 | centre[0]));
}

std::string VersionString(const std::vector<char>& block, const std::string& name) {
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  UINT size = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &size) ||
      size < sizeof *translation)
    return "<no translation>";
  char path[64];
  wsprintfA(path, "\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
  char* text = nullptr;
  if (!VerQueryValueA(block.data(), (path + name).c_str(), reinterpret_cast<void**>(&text), &size))
    return "<missing>";
  return std::string(text, size ? size - 1 : 0);
}

TEST(VersionBlock, NamesProgramVersionAndMaker) {
  const std::string exe = test::ThisProgram();
  ASSERT_FALSE(exe.empty());
  DWORD ignored = 0, size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00020002u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00020002u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  // A release: no debug, no pre-release.
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);

  const std::pair<const char*, const char*> expected[] = {
      {"FileVersion", "2.2.0.0"},
      {"ProductVersion", "2.2.0.0"},
      {"ProductName", "Orvendel"},
      {"InternalName", "Orvendex"},
      {"OriginalFilename", "Orvendex"},
      {"FileDescription", "Complete information about your Windows & PC"},
      {"Comments", "Freeware"},
      {"CompanyName", "Tellwick"},
      {"LegalCopyright", "Copyright (C) Tellwick"},
      {"LegalTrademarks", "Tellwick"},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(VersionString(block, name), value) << name;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
  reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
  return TRUE;
}

TEST(Manifest, IsTheOnlyOneAndAsksForWhatTheProgramNeeds) {
  std::vector<WORD> languages;
  EnumResourceLanguagesA(nullptr, RT_MANIFEST, MAKEINTRESOURCEA(1), CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_EQ(languages, std::vector<WORD>{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)});

  Bytes manifest = FindBytes(MAKEINTRESOURCEA(1), RT_MANIFEST);
  ASSERT_GT(manifest.size, 0u);
  std::string text(reinterpret_cast<const char*>(manifest.data), manifest.size);
  for (const char* part : {
           "name=\"Orvendex.exe\"",
           "<description>Orvendel</description>",
           "level=\"highestAvailable\" uiAccess=\"false\"",
           "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
           "publicKeyToken=\"6595b64144ccf1df\"",
           "name=\"Microsoft.Windows.GdiPlus\" version=\"1.0.0.0\"",
           sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"",
       }) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
  // The layout is not scaled: the program must stay DPI-unaware and let Windows stretch it.
  EXPECT_EQ(text.find("dpiAware"), std::string::npos);
  EXPECT_EQ(text.find("dpiAwareness"), std::string::npos);
}

// The loader parsed the manifest and made it the process's activation context: comctl32 and
// gdiplus come from their assemblies (the chart's GDI+ too, as on XP, where no other copy
// exists), and every supported-OS entry is known to the system.
TEST(Manifest, TakesEffectWhenTheProgramStarts) {
  InitCommonControls();
  for (const char* dll : {"comctl32.dll", "gdiplus.dll"}) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         dll, &data))
        << dll << " is not redirected to its assembly";
  }
  ULONG_PTR token = 0;
  const Gdiplus::GdiplusStartupInput input;
  EXPECT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  Gdiplus::GdiplusShutdown(token);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(GetModuleHandleA("gdiplus.dll"), path, MAX_PATH);
  EXPECT_NE(std::string(CharLowerA(path)).find("\\winsxs\\"), std::string::npos) << path;

  // The thread's context; none pushed means the process default, made from the exe's manifest.
  HANDLE context = nullptr;
  GetCurrentActCtx(&context);
  SIZE_T needed = 0;
  QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, nullptr, 0,
               &needed);
  std::vector<BYTE> info(needed);
  BOOL queried =
      needed > 0 && QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext,
                                 info.data(), needed, &needed);
  if (context) ReleaseActCtx(context);
  ASSERT_TRUE(queried) << "no supported-OS list in the activation context";
  // Windows 10 1903 added a field to each element, so the GUIDs are looked for, not indexed.
  const GUID systems[] = {
      {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},  // Vista
      {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},  // 7
      {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},  // 8
      {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},  // 8.1
      {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},  // 10, 11
  };
  for (std::size_t i = 0; i < std::size(systems); ++i) {
    const auto* id = reinterpret_cast<const BYTE*>(&systems[i]);
    EXPECT_NE(std::search(info.begin(), info.end(), id, id + sizeof(GUID)), info.end())
        << "supportedOS entry " << i;
  }
}

}  // namespace
}  // namespace orv
