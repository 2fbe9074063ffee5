#include "support/fake_clock.h"

#include <cstddef>
#include <utility>

#include "text/clock.h"

namespace tsm {

namespace {

struct Script {
  std::vector<int32_t> readings{0};
  size_t next = 0;
};

Script& TheScript() {
  static Script script;
  return script;
}

}  // namespace

void SetUptimeReadings(std::vector<int32_t> readings) {
  if (readings.empty()) readings.push_back(0);
  TheScript() = Script{std::move(readings), 0};
}

int32_t UptimeMs() {
  Script& script = TheScript();
  const int32_t reading = script.readings[script.next];
  if (script.next + 1 < script.readings.size()) ++script.next;
  return reading;
}

}  // namespace tsm
