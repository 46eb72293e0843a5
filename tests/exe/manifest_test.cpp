// The application manifest as it sits in the built exe: one manifest, at
// the id Windows looks for, that the platform's own parser accepts, and
// that says what the tool needs and nothing it must not say.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tool_driver.h"

namespace fenlodar::testing {
namespace {

using fenlodar::e2e::WindowsPathOfUnixPath;

const std::string kExe = WindowsPathOfUnixPath(FENLODAR_EXE);

// The exe mapped as data: its resources, none of its code.
class ExeResources {
 public:
  ExeResources()
      : module_(LoadLibraryExA(kExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ExeResources() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  ExeResources(const ExeResources&) = delete;
  ExeResources& operator=(const ExeResources&) = delete;
  HMODULE module() const { return module_; }

 private:
  HMODULE module_;
};

std::vector<ULONG_PTR> ManifestIds(HMODULE module) {
  std::vector<ULONG_PTR> ids;
  EnumResourceNamesA(
      module, RT_MANIFEST,
      [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) CALLBACK -> BOOL {
        // A name that is no number counts as 0, which is no valid id.
        reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(
            IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

std::string ManifestText(HMODULE module) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
  if (found == nullptr) return "";
  HGLOBAL loaded = LoadResource(module, found);
  const char* bytes = static_cast<const char*>(LockResource(loaded));
  return bytes == nullptr ? "" : std::string(bytes, SizeofResource(module, found));
}

// The text without its comments, which may name what the manifest leaves out.
std::string WithoutComments(std::string text) {
  for (std::size_t at; (at = text.find("<!--")) != std::string::npos;) {
    const std::size_t end = text.find("-->", at);
    text.erase(at, end == std::string::npos ? std::string::npos : end + 3 - at);
  }
  return text;
}

class ManifestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(resources_.module(), nullptr)
        << "cannot map " << kExe << " (error " << GetLastError() << ")";
    text_ = ManifestText(resources_.module());
    ASSERT_FALSE(text_.empty()) << "no RT_MANIFEST 1 in " << kExe;
    elements_ = WithoutComments(text_);
  }
  bool Says(const std::string& part) const {
    return elements_.find(part) != std::string::npos;
  }

  ExeResources resources_;
  std::string text_;
  std::string elements_;  // the text without comments
};

TEST_F(ManifestTest, IsTheOnlyManifestAtTheIdForAnExe) {
  EXPECT_EQ(ManifestIds(resources_.module()), std::vector<ULONG_PTR>{1});
}

TEST_F(ManifestTest, ThePlatformParserAcceptsIt) {
  ACTCTXA context{};
  context.cbSize = sizeof(context);
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = kExe.c_str();
  context.lpResourceName = MAKEINTRESOURCEA(1);
  HANDLE activation = CreateActCtxA(&context);
  EXPECT_NE(activation, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  if (activation != INVALID_HANDLE_VALUE) ReleaseActCtx(activation);
}

TEST_F(ManifestTest, RunsAsInvokerWithoutAskingToElevate) {
  EXPECT_TRUE(Says("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"))
      << text_;
  EXPECT_FALSE(Says("requireAdministrator"));
  EXPECT_FALSE(Says("highestAvailable"));
}

TEST_F(ManifestTest, SupportsWindows7To11) {
  const struct {
    const char* windows;
    const char* id;
  } systems[] = {
      {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
      {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
      {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
      {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
  };
  for (const auto& system : systems)
    EXPECT_TRUE(Says(std::string("<supportedOS Id=\"") + system.id + "\"/>"))
        << "Windows " << system.windows;
}

TEST_F(ManifestTest, LeavesOutWhatTheToolMustNotDeclare) {
  // The layout is drawn for the classic controls: no visual styles.
  EXPECT_FALSE(Says("<dependency")) << text_;
  EXPECT_FALSE(Says("Common-Controls"));
  // Its locale form exists on Windows 11 only.
  EXPECT_FALSE(Says("activeCodePage"));
  // Pixels are pixels: not DPI aware, so high-DPI screens scale the window.
  EXPECT_TRUE(Says(">false</dpiAware>"));
  EXPECT_FALSE(Says("dpiAwareness"));
}

}  // namespace
}  // namespace fenlodar::testing
