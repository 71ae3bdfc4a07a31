#include "sysinfo/Icons.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/ImagePixels.h"
#include "tests/support/WinTestTools.h"

namespace orv {
namespace {

// The pixels and mask of an icon, to tell which file it came from.
std::vector<char> Pixels(HICON icon) {
  std::vector<char> bits;
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return bits;
  for (HBITMAP bitmap : {info.hbmColor, info.hbmMask}) {
    BITMAP header{};
    if (bitmap && GetObjectA(bitmap, sizeof(header), &header)) {
      std::vector<char> part(static_cast<std::size_t>(header.bmWidthBytes) * header.bmHeight);
      GetBitmapBits(bitmap, static_cast<LONG>(part.size()), part.data());
      bits.insert(bits.end(), part.begin(), part.end());
    }
    if (bitmap) DeleteObject(bitmap);
  }
  return bits;
}

struct IconImage {
  int size;
  std::uint32_t colour;  // 0xRRGGBB, every pixel, opaque
};

// The bytes of an icon file of one icon with the images given.
std::string IconFileBytes(const std::vector<IconImage>& images) {
  std::string bytes;
  const auto put = [&bytes](std::uint32_t v, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  const auto count = static_cast<std::uint32_t>(images.size());
  const auto sizeOf = [](std::uint32_t side) {
    return 40 + side * side * 4 + (side + 31) / 32 * 4 * side;
  };
  // The directory (an icon file, count images), then per image: its size, no palette, one plane of
  // 32 bits, its length and where it starts.
  put(0, 2), put(1, 2), put(count, 2);
  std::uint32_t offset = 6 + 16 * count;
  for (const IconImage& image : images) {
    const auto side = static_cast<std::uint32_t>(image.size);
    put(side, 1), put(side, 1), put(0, 2), put(1, 2), put(32, 2), put(sizeOf(side), 4);
    put(offset, 4);
    offset += sizeOf(side);
  }
  for (const IconImage& image : images) {
    const auto side = static_cast<std::uint32_t>(image.size);
    // The image's header: its width, twice its height (image and mask), one plane of 32 bits.
    for (const std::uint32_t v : {40u, side, 2 * side, 1u | (32u << 16), 0u, 0u, 0u, 0u, 0u, 0u}) {
      put(v, 4);
    }
    for (std::uint32_t i = 0; i < side * side; ++i) put(0xFF000000 | image.colour, 4);
    bytes.append((side + 31) / 32 * 4 * side, '\0');  // the mask: every pixel shown
  }
  return bytes;
}

class IconsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fallback_ = Pixels(test::SmallFileIcon(test::SystemFolder() + "msiexec.exe").Get());
    notepad_ = Pixels(test::SmallFileIcon(test::SystemFolder() + "notepad.exe").Get());
    if (fallback_.empty() || notepad_.empty() || fallback_ == notepad_) {
      GTEST_SKIP() << "msiexec.exe and notepad.exe lack distinct icons on this system";
    }
  }
  std::vector<char> fallback_;
  std::vector<char> notepad_;
};

// Each icon given is the caller's: it stays while its owner holds it, whatever is read after it,
// and goes with its owner.
TEST(GetFileIconTest, EachIconIsTheCallersUntilItsOwnerLetsItGo) {
  const auto alive = [](HICON icon) { return !Pixels(icon).empty(); };
  HICON second = nullptr;
  {
    UniqueIcon first = GetFileIcon(test::SystemFolder() + "notepad.exe", test::SystemFolder());
    UniqueIcon held = GetFileIcon(test::SystemFolder() + "notepad.exe", test::SystemFolder());
    second = held.Get();
    ASSERT_TRUE(alive(first.Get()));
    const HICON gone = first.Get();
    first.Reset();
    EXPECT_FALSE(alive(gone));
    EXPECT_TRUE(alive(second));
  }
  EXPECT_FALSE(alive(second));
}

TEST_F(IconsTest, FileIconIsTheFilesOwnOrMsiexecs) {
  const std::string noBackslash = test::SystemFolder().substr(0, test::SystemFolder().size() - 1);
  IconCache icons(test::WindowsFolder(), noBackslash);
  EXPECT_EQ(Pixels(icons.FileIcon(test::SystemFolder() + "notepad.exe")), notepad_);
  for (const std::string& path :
       {test::SystemFolder() + "no such file.exe", std::string(), test::WindowsFolder(),
        // An existing file without icons gets the fallback too.
        test::WindowsFolder() + "win.ini"}) {
    EXPECT_EQ(Pixels(icons.FileIcon(path)), fallback_) << path;
  }
  // An icon handed out earlier is still the file's after the cache has read others.
  EXPECT_EQ(Pixels(icons.FileIcon(test::SystemFolder() + "notepad.exe")), notepad_);
}

// The lists show the image a file has for their size, not its large image scaled down; a file
// without one gets its image scaled to that size.
TEST(FileIconSizeTest, TheFilesOwnSmallImageElseItsLargeOneScaled) {
  const struct {
    const char* why;
    std::vector<IconImage> images;
    COLORREF shown;
  } cases[] = {
      {"large image first, small second", {{32, 0x0000FF}, {16, 0xFF0000}}, RGB(255, 0, 0)},
      {"small image first", {{16, 0x00FF00}, {48, 0x0000FF}, {32, 0xFF0000}}, RGB(0, 255, 0)},
      {"large images only", {{48, 0x00FF00}, {32, 0x0000FF}}, RGB(0, 0, 255)},
  };
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "OrvSizes.ico";
  for (const auto& c : cases) {
    test::WriteBytes(path, IconFileBytes(c.images));
    IconCache icons(test::WindowsFolder(), test::SystemFolder());
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icons.FileIcon(path), &info)) << c.why;
    const UniqueBitmap colour(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP shape{};
    ASSERT_TRUE(GetObjectA(colour.Get(), sizeof(shape), &shape)) << c.why;
    EXPECT_EQ(shape.bmWidth, 16) << c.why;
    EXPECT_EQ(shape.bmHeight, 16) << c.why;
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const SelectGuard select(dc.Get(), colour.Get());
    EXPECT_EQ(GetPixel(dc.Get(), 8, 8), c.shown) << c.why;
  }
  DeleteFileA(path.c_str());
}

// An installer product's icon file in the prefix's Installer folder, removed with whatever folders
// it needed.
class ProductIconFile {
 public:
  ProductIconFile(const std::string& code, const std::string& source)
      : installer_(test::WindowsFolder() + "Installer"), product_(installer_ + "\\" + code) {
    madeInstaller_ = CreateDirectoryA(installer_.c_str(), nullptr) != FALSE;
    CreateDirectoryA(product_.c_str(), nullptr);
    copied_ = CopyFileA(source.c_str(), Path().c_str(), FALSE) != FALSE;
  }
  ~ProductIconFile() { Remove(); }
  bool Copied() const { return copied_; }
  std::string Path() const { return product_ + "\\ARPPRODUCTICON.exe"; }
  void Remove() {
    DeleteFileA(Path().c_str());
    RemoveDirectoryA(product_.c_str());
    if (madeInstaller_) RemoveDirectoryA(installer_.c_str());
  }

 private:
  std::string installer_;
  std::string product_;
  bool madeInstaller_ = false;
  bool copied_ = false;
};

TEST_F(IconsTest, ProductIconIsArpProductIconOrMsiexecs) {
  const std::string code = "{0D5A3F6E-0000-4C1B-9E11-0123456789AB}";
  ProductIconFile file(code, test::SystemFolder() + "notepad.exe");
  ASSERT_TRUE(file.Copied());

  const std::string command = "MsiExec.exe /X" + code;
  {
    IconCache icons(test::WindowsFolder(), test::SystemFolder());
    for (const std::string& text : {command, code}) {
      EXPECT_EQ(Pixels(icons.MsiProductIcon(text)), notepad_) << text;
    }
  }
  file.Remove();
  IconCache icons(test::WindowsFolder(), test::SystemFolder());
  for (const std::string& text : {command, std::string("MsiExec.exe /X"), std::string()}) {
    EXPECT_EQ(Pixels(icons.MsiProductIcon(text)), fallback_) << text;
  }
}

TEST(DisableWow64RedirectionTest, OnlyWhereProgramFilesHasX86) {
  for (const char* folder : {"C:\\Program Files", "", "C:\\X86"}) {
    EXPECT_FALSE(DisableWow64Redirection(true, folder)) << folder;
    EXPECT_FALSE(DisableWow64Redirection(false, folder)) << folder;
  }
  const bool present =
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "Wow64DisableWow64FsRedirection") &&
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "Wow64EnableWow64FsRedirection");
  EXPECT_EQ(DisableWow64Redirection(true, "c:\\program files (x86)"), present);
  EXPECT_EQ(DisableWow64Redirection(false, "c:\\program files (x86)"), present);
}

// The release program on 64-bit Windows: while redirection is off, the system folder it names is
// the real (64-bit) one, where the programs of the Startup and uninstall entries lie; afterwards
// it is its own 32-bit one again. The 64-bit program sees the one system folder throughout.
TEST(DisableWow64RedirectionTest, TheRealSystemFolderIsSeenOnlyWhileItIsOff) {
  using SwitchFn = BOOL(WINAPI*)(PVOID*);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto off = reinterpret_cast<SwitchFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
  const auto back = reinterpret_cast<SwitchFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (wow64 && (!off || !back)) GTEST_SKIP() << "no redirection functions on this system";

  // A file in the real system folder only, written with redirection off where there is any.
  const std::string probe = test::SystemFolder() + "OrvRedirectionProbe.txt";
  PVOID state = nullptr;
  if (wow64) off(&state);
  const HANDLE file =
      CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (wow64) back(&state);
  if (file == INVALID_HANDLE_VALUE) GTEST_SKIP() << "this user cannot write into " << probe;

  const auto seen = [&probe] {
    return GetFileAttributesA(probe.c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  {
    const Wow64RedirectionOff redirection("C:\\Program Files (x86)\\");
    EXPECT_TRUE(seen()) << "while redirection is off";
  }
  EXPECT_EQ(seen(), !wow64) << "after redirection is on again";

  if (wow64) off(&state);
  DeleteFileA(probe.c_str());
  if (wow64) back(&state);
}

}  // namespace
}  // namespace orv
