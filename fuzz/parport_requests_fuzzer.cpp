// The virtual parallel port's handling of what a program asks of it: any
// sequence of opens, dups, closes, requests, reads and writes, with
// arguments that point anywhere, including where the program cannot read
// or write. Nothing may fault; a request whose argument cannot be reached
// never succeeds; every answer is one the kernel could give.
//
// Input: one operation a byte, each followed by the bytes it takes.
#include <sys/ioctl.h>
#include <sys/mman.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/ppdev.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "descriptors.h"
#include "fuzz_checks.h"
#include "parport_model.h"

namespace {

int64_t clock_ns = 0;
int64_t Tick() { return clock_ns += 50; }

constexpr unsigned long kRequests[] = {
    PPCLAIM,    PPRELEASE,  PPYIELD,    PPEXCL,      PPSETMODE, PPGETMODE,  PPGETMODES, PPSETPHASE,
    PPGETPHASE, PPSETFLAGS, PPGETFLAGS, PPWDATA,     PPRDATA,   PPWCONTROL, PPRCONTROL, PPFCONTROL,
    PPRSTATUS,  PPDATADIR,  PPNEGOT,    PPWCTLONIRQ, PPCLRIRQ,  PPSETTIME,  PPGETTIME};

struct Pages {
  void* unmapped = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  void* read_only = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
};

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ == size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// Where an argument points: the program's own buffer, or memory it cannot
// read (`readable` false) or cannot write (`writable` false).
void* Argument(uint8_t kind, unsigned char* buffer, const Pages& pages, bool* readable,
               bool* writable) {
  *readable = kind % 5 == 0 || kind % 5 == 4;
  *writable = kind % 5 == 0;
  switch (kind % 5) {
    case 0:
      return buffer;
    case 1:
      return nullptr;
    case 2:
      return reinterpret_cast<void*>(16);
    case 3:
      return pages.unmapped;
    default:
      return pages.read_only;
  }
}

bool Answerable(long result) {
  return result == 0 || result == -EFAULT || result == -EINVAL || result == -EBADF ||
         result == -ENXIO || result == -EIO;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Pages pages;
  vlcd::Module module;
  module.chip = vlcd::Chip::HD44780;
  module.columns = 16;
  module.rows = 2;
  vparport::Parport port;
  vparport::MakeParport(port, module, Tick);
  vparport::Descriptors descriptors;
  int next_fd = 3;
  Input input(data, size);
  while (!input.empty()) {
    const uint8_t operation = input.Byte();
    const int fd = 3 + input.Byte() % 8;
    const int client = vparport::ClientOf(descriptors, fd);
    switch (operation % 6) {
      case 0:
        if (next_fd < 11) vparport::AddDescriptor(descriptors, next_fd++, OpenClient(port));
        break;
      case 1:
        if (client != 0 && next_fd < 11) vparport::AddDescriptor(descriptors, next_fd++, client);
        break;
      case 2:
        if (const int last = vparport::DropDescriptor(descriptors, fd)) CloseClient(port, last);
        break;
      case 3: {
        const uint8_t pick = input.Byte();
        unsigned long request = kRequests[pick % std::size(kRequests)];
        if (pick >= 0xF0) request = static_cast<unsigned long>(input.Byte()) << 8 | input.Byte();
        unsigned char buffer[32];
        for (unsigned char& byte : buffer) byte = input.Byte();
        bool readable = false;
        bool writable = false;
        void* argument = Argument(input.Byte(), buffer, pages, &readable, &writable);
        // A claim beside another client's waits for it, as the kernel's does;
        // one thread alone would wait for ever.
        if (request == PPCLAIM && port.holder != 0) break;
        const int result = vparport::ClientRequest(port, client, request, argument);
        FUZZ_CHECK(Answerable(result), "a request is answered as the kernel answers");
        // A request named _IOW reads its argument, one named _IOR writes it.
        const bool unreachable = ((_IOC_DIR(request) & _IOC_WRITE) && !readable) ||
                                 ((_IOC_DIR(request) & _IOC_READ) && !writable);
        if (unreachable && _IOC_SIZE(request) > 0 && pick < 0xF0) {
          FUZZ_CHECK(result != 0, "a request whose argument cannot be reached fails");
        }
        break;
      }
      case 4: {
        unsigned char buffer[8];
        const ssize_t result = vparport::ClientRead(port, client, buffer, input.Byte() % 9);
        FUZZ_CHECK(result == 0 || Answerable(result), "a read is answered as ppdev answers");
        break;
      }
      default: {
        unsigned char buffer[8] = {};
        bool readable = false;
        bool writable = false;
        void* from = Argument(input.Byte(), buffer, pages, &readable, &writable);
        const size_t count = input.Byte() % 9;
        const ssize_t result = vparport::ClientWrite(port, client, from, count);
        FUZZ_CHECK(result == 0 || Answerable(result), "a write is answered as ppdev answers");
        if (!readable && count > 0) FUZZ_CHECK(result != 0, "a write from unreadable memory fails");
        break;
      }
    }
    FUZZ_CHECK(port.holder == 0 || port.clients.count(port.holder) == 1,
               "the claim is held by a client that is open");
  }
  return 0;
}
