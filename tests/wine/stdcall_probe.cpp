// Calls every export of a BAV plug-in through a thunk that fills the
// callee-saved registers with marks and remembers the stack pointer, then
// reports any export that did not leave them as stdcall requires: the stack
// cleaned of exactly its own arguments, EBX, ESI, EDI and EBP unchanged.
//   usage: stdcall_probe PLUGIN CLEANFILE INFECTEDFILE
// Exit status: 0 all exports kept the convention, 1 one did not, 2 usage.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/ui/headless/dialog_terminal.h"

// BAV_Setup's dialog is closed by a step instead of a person; it prints
// itself between the probe's lines.
namespace {
void PrintDialog(const char* text, std::size_t size, int toError) {
  std::fwrite(text, 1, size, toError != 0 ? stderr : stdout);
}
const TvDialogTerminal terminal{"click btCancel\n", PrintDialog};
}  // namespace
TV_DIALOG_TERMINAL_EXPORT const TvDialogTerminal* tvDialogTerminal() {
  return &terminal;
}

extern "C" {
std::uint32_t probe_frame, probe_fn, probe_esp, probe_ebx, probe_esi, probe_edi, probe_ebp;
std::int32_t ProbeCall(void* function, std::uint32_t count, const std::uint32_t* args);
}

// Pushes Count arguments right to left, marks the registers, calls, and
// records what the callee left before restoring the caller's state.
asm(R"(
  .text
  .globl _ProbeCall
_ProbeCall:
  pushl %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  movl %esp, _probe_frame
  movl 20(%esp), %eax
  movl %eax, _probe_fn
  movl 24(%esp), %ecx
  movl 28(%esp), %edx
1:
  testl %ecx, %ecx
  jz 2f
  decl %ecx
  pushl (%edx,%ecx,4)
  jmp 1b
2:
  movl $0x1B1B1B1B, %ebx
  movl $0x5E5E5E5E, %esi
  movl $0xD1D1D1D1, %edi
  movl $0xB9B9B9B9, %ebp
  call *_probe_fn
  movl %esp, _probe_esp
  movl %ebx, _probe_ebx
  movl %esi, _probe_esi
  movl %edi, _probe_edi
  movl %ebp, _probe_ebp
  movl _probe_frame, %esp
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret
)");

namespace {

// A stand-in COM stream that only counts its references.
struct TStream;
struct TStreamVtbl {
  HRESULT(WINAPI* QueryInterface)(TStream*, const void*, void**);
  ULONG(WINAPI* AddRef)(TStream*);
  ULONG(WINAPI* Release)(TStream*);
};
struct TStream {
  const TStreamVtbl* Vtbl;
  ULONG References;
};
HRESULT WINAPI StreamQueryInterface(TStream*, const void*, void** object) {
  if (object != nullptr) *object = nullptr;
  return E_NOINTERFACE;
}
ULONG WINAPI StreamAddRef(TStream* self) {
  return ++self->References;
}
ULONG WINAPI StreamRelease(TStream* self) {
  return --self->References;
}
const TStreamVtbl kStreamVtbl{StreamQueryInterface, StreamAddRef, StreamRelease};

std::uint32_t Arg(const void* pointer) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

bool Probe(HMODULE plugin, const char* name, const std::vector<std::uint32_t>& args) {
  void* function = reinterpret_cast<void*>(::GetProcAddress(plugin, name));
  if (function == nullptr) {
    std::printf("%s: missing\n", name);
    return false;
  }
  std::int32_t result = ProbeCall(function, static_cast<std::uint32_t>(args.size()), args.data());
  const long stack = static_cast<long>(probe_esp) - static_cast<long>(probe_frame);
  const bool kept = stack == 0 && probe_ebx == 0x1B1B1B1B && probe_esi == 0x5E5E5E5E &&
                    probe_edi == 0xD1D1D1D1 && probe_ebp == 0xB9B9B9B9;
  if (kept) {
    std::printf("%s: ok (result %d)\n", name, result);
  } else {
    std::printf("%s: stack off by %ld, ebx %08x esi %08x edi %08x ebp %08x\n", name, stack, probe_ebx,
                probe_esi, probe_edi, probe_ebp);
  }
  return kept;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: stdcall_probe PLUGIN CLEANFILE INFECTEDFILE\n");
    return 2;
  }
  HMODULE plugin = ::LoadLibraryA(argv[1]);
  if (plugin == nullptr) {
    std::fprintf(stderr, "stdcall_probe: cannot load %s\n", argv[1]);
    return 2;
  }
  char buffer[1024] = {};
  TStream first{&kStreamVtbl, 1}, second{&kStreamVtbl, 1};
  const struct {
    const char* Name;
    std::vector<std::uint32_t> Args;
  } calls[] = {
      {"BAV_Initialize", {}},
      {"BAV_GetName", {Arg(buffer), 64}},
      {"BAV_GetVersion", {Arg(buffer), 64}},
      {"BAV_SetCfgData", {1, 2}},
      {"BAV_GetCfgData", {1, 2}},
      {"BAV_GetStatus", {}},
      {"BAV_ConfigNeeded", {}},
      {"BAV_Setup", {}},
      {"BAV_MemoryChecking", {}},
      {"BAV_FileChecking", {}},
      {"BAV_StreamChecking", {}},
      {"BAV_CheckFile", {Arg(argv[2]), Arg(buffer)}},
      {"BAV_CheckFile", {Arg(argv[3]), Arg(buffer)}},
      {"BAV_CureFile", {Arg(argv[3]), Arg(buffer)}},
      {"BAV_CheckMemory", {Arg(buffer), 16, Arg(buffer)}},
      {"BAV_CureMemory", {Arg(buffer), 16, Arg(buffer)}},
      {"BAV_CheckStream", {Arg(&first), Arg(buffer)}},
      {"BAV_CureStream", {Arg(&first), Arg(&second), Arg(buffer)}},
      {"BAV_Uninitialize", {}},
  };
  bool allKept = true;
  for (const auto& call : calls) allKept = Probe(plugin, call.Name, call.Args) && allKept;
  if (first.References != 1 || second.References != 1) {
    std::printf("streams: references %lu and %lu after the calls (1 before)\n", first.References,
                second.References);
    allKept = false;
  }
  return allKept ? 0 : 1;
}
