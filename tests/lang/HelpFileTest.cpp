// The compiled help file, opened through Windows' own HTML Help storage (itss.dll, the component
// the help viewer reads .chm files with): every page and the contents must be inside and readable.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/lang/ProgramFolder.h"
#include "tests/support/KnownLanguageKeys.h"

namespace orv {

// The storage interface of itss.dll; the MinGW-w64 headers do not declare it. It must not be local
// to this file: g++ treats pure virtual calls on a file-local interface that nothing in the file
// implements as unreachable and drops them.
const CLSID kClsidITStorage = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidITStorage = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

struct IITStorage : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD,
                                                                 IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD,
                                                   IStorage**) = 0;
};

namespace {

class HelpFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    const std::string chm = test::ProgramFolder() + "\\Orvendex.chm";
    ASSERT_NE(GetFileAttributesA(chm.c_str()), INVALID_FILE_ATTRIBUTES) << chm;
    IITStorage* its = nullptr;
    ASSERT_EQ(CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage,
                               reinterpret_cast<void**>(&its)),
              S_OK);
    const std::wstring wide(chm.begin(), chm.end());  // the build path is plain ASCII
    its->StgOpenStorage(wide.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                        &storage_);
    its->Release();
    ASSERT_NE(storage_, nullptr) << "cannot open " << chm << " as a help file";
  }
  void TearDown() override {
    if (storage_) storage_->Release();
    CoUninitialize();
  }

  // The text of one file inside the help file; empty when it is missing or unreadable.
  std::string Read(const std::string& inner) const {
    const std::wstring name(inner.begin(), inner.end());
    IStream* stream = nullptr;
    if (storage_->OpenStream(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream) !=
        S_OK) {
      return std::string();
    }
    std::string text;
    char buffer[4096];
    ULONG got = 0;
    while (stream->Read(buffer, sizeof buffer, &got) == S_OK && got > 0) text.append(buffer, got);
    stream->Release();
    return text;
  }

  IStorage* storage_ = nullptr;
};

constexpr struct {
  const char* file;
  const char* title;
} kPages[] = {
    {"index.html", "Orvendel Help"},       {"general.html", "General page"},
    {"drives.html", "Drives page"},        {"memory.html", "Memory page"},
    {"startup.html", "Startup list page"}, {"programs.html", "Installed programs page"},
    {"about.html", "About page"},          {"language.html", "Choosing the language"},
    {"report.html", "Saving a report"},
};

TEST_F(HelpFile, HoldsEveryPageAndListsItInTheContents) {
  const std::string contents = Read("Orvendex.hhc");
  ASSERT_FALSE(contents.empty()) << "no table of contents";
  for (const auto& page : kPages) {
    const std::string html = Read(page.file);
    EXPECT_NE(html.find(std::string("<title>") + page.title + "</title>"), std::string::npos)
        << page.file;
    EXPECT_NE(html.find("</html>"), std::string::npos) << page.file << " is cut short";
    EXPECT_NE(contents.find(std::string("\"") + page.file + "\""), std::string::npos) << page.file;
  }
  EXPECT_NE(Read("style.css").find("font-family"), std::string::npos);
  EXPECT_FALSE(Read("Orvendex.hhk").empty()) << "no index";
}

// What a user who wants another language or a report must find.
TEST_F(HelpFile, ExplainsTheLanguageValueAndTheReport) {
  const std::string language = Read("language.html");
  EXPECT_NE(language.find("HKEY_CURRENT_USER\\Software\\Tellwick\\Orvendel"), std::string::npos);
  EXPECT_NE(language.find("Language"), std::string::npos);
  for (const char* file : test::kLanguageFiles) {
    EXPECT_NE(language.find(file), std::string::npos) << file;
  }
  const std::string report = Read("report.html");
  EXPECT_NE(report.find("Save as text"), std::string::npos);
  EXPECT_NE(report.find("Save as HTML"), std::string::npos);
}

}  // namespace
}  // namespace orv
