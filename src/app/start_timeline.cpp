#include "app/start_timeline.h"

#include <cstdio>

#include "platform/win32/process_figures.h"

namespace kivo {
namespace {

LONGLONG Now() {
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double FileTimeMs(const FILETIME& time) {
  return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                             time.dwLowDateTime) /
         10000.0;
}

}  // namespace

StartTimeline::StartTimeline() {
  wchar_t file[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"KIVO_START_TIMELINE", file, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  on_ = true;
  file_ = file;
  LARGE_INTEGER frequency{};
  ::QueryPerformanceFrequency(&frequency);
  frequency_ = frequency.QuadPart;
  began_ = Now();
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  ::GetSystemTimeAsFileTime(&now);
  if (::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) {
    sinceProcessStartMs_ = FileTimeMs(now) - FileTimeMs(created);
  }
  steps_.reserve(24);
}

void StartTimeline::Record(const char* phase) {
  steps_.push_back({phase, Now()});
}

void StartTimeline::Finish(const char* phase) {
  if (!on_) return;
  Record(phase);
  on_ = false;
  FILE* out = _wfopen(file_.c_str(), L"w");
  if (out == nullptr) return;
  const auto ms = [this](LONGLONG ticks) {
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency_);
  };
  std::fprintf(out, "%-28s %9.1f %9.1f\n", "process start to Main", sinceProcessStartMs_,
               sinceProcessStartMs_);
  LONGLONG last = began_;
  for (const Step& step : steps_) {
    std::fprintf(out, "%-28s %9.1f %9.1f\n", step.phase, ms(step.ticks - last),
                 sinceProcessStartMs_ + ms(step.ticks - began_));
    last = step.ticks;
  }
  using win::ProcessFigure;
  std::fprintf(out, "private bytes %lld\nworking set %lld\ngdi objects %lld\n",
               static_cast<long long>(win::ReadProcessFigure(ProcessFigure::PrivateBytes)),
               static_cast<long long>(win::ReadProcessFigure(ProcessFigure::WorkingSet)),
               static_cast<long long>(win::ReadProcessFigure(ProcessFigure::GdiObjects)));
  std::fclose(out);
  steps_.clear();
  steps_.shrink_to_fit();
}

}  // namespace kivo
