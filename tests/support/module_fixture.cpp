#include "module_fixture.h"

#include <fstream>
#include <sstream>

#include "steady_nanoseconds.h"

namespace fs = std::filesystem;

void ModuleTest::SetUp() {
  scratch_ = std::make_unique<ScratchDirectory>();
  const std::string path = (scratch_->home() / HD66712_MODULE_FILE).string();
  module_ = loader::LoadModule(path);
  ASSERT_NE(module_, nullptr) << path;
  ASSERT_EQ(FindDriverEntries(module_, &driver_), std::nullopt);
}

void ModuleTest::TearDown() {
  if (module_ != nullptr) {
    // A host that unloads without shutting down would leave the port library
    // loaded; the next test must find only the libraries it installs.
    driver_.Done();
    loader::UnloadModule(module_);
  }
  scratch_.reset();
}

void ModuleTest::InstallPortLibrary(const char* stand_in, const char* file_name) {
  fs::copy_file(scratch_->home() / stand_in, scratch_->path() / file_name,
                fs::copy_options::overwrite_existing);
}

std::string ModuleTest::Init(int columns, int rows, const char* parameters) {
  return driver_.Init(static_cast<uint8_t>(columns), static_cast<uint8_t>(rows), parameters, &ok_);
}

std::vector<PortEvent> ModuleTest::ReadTrace() const {
  std::vector<PortEvent> events;
  std::ifstream file(scratch_->path() / "port_trace.txt");
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    PortEvent event;
    long long ns = 0;
    fields >> event.kind >> event.library >> event.write.port >> event.write.value >> ns;
    event.write.ns = ns;
    events.push_back(event);
  }
  return events;
}

std::vector<PortWriteRecord> ModuleTest::ReadWrites() const {
  std::vector<PortWriteRecord> writes;
  for (const PortEvent& event : ReadTrace()) {
    if (event.kind == "write") writes.push_back(event.write);
  }
  return writes;
}

std::vector<std::string> ModuleTest::ReadLifecycle() const {
  std::vector<std::string> lifecycle;
  for (const PortEvent& event : ReadTrace()) {
    if (event.kind != "write") lifecycle.push_back(event.kind + " " + event.library);
  }
  return lifecycle;
}

std::vector<DecodedCycle> ModuleTest::ReadCycles(int32_t base) const {
  std::string error;
  std::vector<DecodedCycle> cycles = DecodeBusCycles(ReadWrites(), base, &error);
  EXPECT_EQ(error, "");
  return cycles;
}

int64_t ModuleTest::NowNs() { return SteadyNanoseconds(); }
