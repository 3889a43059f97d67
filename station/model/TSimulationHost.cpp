#include "TSimulationHost.h"

#include <chrono>
#include <thread>

namespace {
TSimulationHost* g_host = nullptr;
}

int64_t TSimulationHost::Milliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TSimulationHost::Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

TSimulationHost& TSimulationHost::Current() {
  static TSimulationHost silent;
  return g_host ? *g_host : silent;
}

void TSimulationHost::SetCurrent(TSimulationHost* host) { g_host = host; }
