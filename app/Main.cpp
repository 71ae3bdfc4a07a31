// Program entry: the single-instance rule, COM for the shell-link object, the application title
// window, the main window and the message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/Form1.h"
#include "app/ShellText.h"
#include "app/SingleInstance.h"
#include "app/res/ResourceIds.h"
#include "base/SystemLibrary.h"
#include "ui/Application.h"

namespace {

// A DLL loaded by name is looked for in the program's folder and the current folder before the
// system's. The program is started from folders such as Downloads, often elevated: from here on
// only the system folder (or a full path) is searched, where Windows offers that (Windows 8, and
// 7 and Vista with an update; the current folder from XP SP1). Looked up, since older systems
// lack them.
void SearchDllsOnlyInTheSystemFolder() {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  using SetDefaultFn = BOOL(WINAPI*)(DWORD);
  using SetDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  const auto setDefault = orv::SystemFunction<SetDefaultFn>(kernel, "SetDefaultDllDirectories");
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  const auto setDirectory = orv::SystemFunction<SetDirectoryFn>(kernel, "SetDllDirectoryA");
  if (setDirectory) setDirectory("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  using namespace orv;
  SearchDllsOnlyInTheSystemFolder();
  if (ClaimSingleInstance(RealOutside()) != StartOutcome::First) return 0;

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const HRESULT com = CoInitialize(nullptr);

  // Without its windows the program cannot run; it ends with a failure code.
  int exitCode = 1;
  {
    auto icon = [&](int metricX, int metricY) {
      return static_cast<HICON>(LoadImageA(instance, res::kMainIcon, IMAGE_ICON,
                                           GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                           LR_SHARED));
    };
    Application& app = Application::Instance();
    if (app.Initialize(kAppTitle, icon(SM_CXICON, SM_CYICON), icon(SM_CXSMICON, SM_CYSMICON))) {
      AcceptRestoreRequests(app.Handle());
      TForm1 form(RealOutside());
      app.SetMainForm(&form);
      if (form.Create(app.Handle())) {
        form.Show();
        exitCode = app.Run();
      }
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
