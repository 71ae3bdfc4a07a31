// Times the real window's fills in this process: the real TForm1 with every query real, the
// outside world recorded (the save dialog answers with a file in the temporary folder).
//   bench_fills programs|startup <repetitions>   one time in ms per repetition
//   bench_fills report <repetitions>             per repetition: the report's time and the sum of
//                                                the five fills it runs, each on its own
//   bench_fills memory                           the peak working set in bytes after the window
//                                                is made, after each page and after one report,
//                                                a line each: step and bytes
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/Form1.h"
#include "bench/BenchClock.h"
#include "tests/support/RecordingOutside.h"

namespace {

double Time(const std::function<void()>& work) {
  const double start = orv::bench::NowMs();
  work();
  return orv::bench::NowMs() - start;
}

// The drives part of the report: the Drives page, then a click on every fixed drive it lists.
void DrivesAsTheReportReadsThem(orv::TForm1& form) {
  form.Page2Show();
  for (orv::Label* slot : form.DriveLabels()) {
    if (slot->Visible() && slot->Cursor() == orv::CursorKind::Hand) form.Page2LabelClick(*slot);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const int repetitions = argc > 2 ? std::atoi(argv[2]) : 1;
  if (mode != "programs" && mode != "startup" && mode != "report" && mode != "memory") {
    std::fprintf(stderr, "usage: bench_fills programs|startup|report <repetitions> | memory\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitialize(nullptr);
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string report = std::string(temp) + "OrvBenchReport";

  int status = 0;
  {
    orv::test::RecordingOutside outside;
    outside.saveAnswer = report;
    orv::TForm1 form(outside);
    if (!form.Create(nullptr)) {
      std::fprintf(stderr, "cannot create the window\n");
      status = 1;
    } else if (mode == "memory") {
      // The peak after each step, so that the growth can be put down to a step.
      const auto peak = [](const char* step) {
        std::printf(
            "%s %llu\n", step,
            static_cast<unsigned long long>(orv::bench::PeakWorkingSet(GetCurrentProcess())));
      };
      peak("window");
      form.Page1Show();
      peak("general");
      DrivesAsTheReportReadsThem(form);
      peak("drives");
      form.Page3Show();
      peak("memory");
      form.Page4Show();
      peak("startup");
      form.Page5Show();
      peak("programs");
      form.SaveAsTxt();
      peak("report");
    } else {
      // One run first, untimed: every figure is taken with the files and keys in the cache.
      for (int i = 0; i <= repetitions; ++i) {
        if (mode == "programs") {
          const double ms = Time([&] { form.Page5Show(); });
          if (i > 0) std::printf("%.3f\n", ms);
        } else if (mode == "startup") {
          const double ms = Time([&] { form.Page4Show(); });
          if (i > 0) std::printf("%.3f\n", ms);
        } else {
          const double fills = Time([&] { form.Page1Show(); }) +
                               Time([&] { DrivesAsTheReportReadsThem(form); }) +
                               Time([&] { form.Page3Show(); }) + Time([&] { form.Page4Show(); }) +
                               Time([&] { form.Page5Show(); });
          const double whole = Time([&] { form.SaveAsTxt(); });
          if (i > 0) std::printf("%.3f %.3f\n", whole, fills);
        }
      }
      std::fprintf(stderr, "rows: startup %d, programs %d\n", form.Page4List.Count(),
                   form.Page5List.Count());
    }
  }
  DeleteFileA((report + ".txt").c_str());
  CoUninitialize();
  return status;
}
