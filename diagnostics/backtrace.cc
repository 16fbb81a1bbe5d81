// Backtraces for internal errors: program counters from the C library's
// stack walker, names from the dynamic symbol table or, for the driver's
// own code (all of a statically linked program), from the static symbol
// table of the running executable, and demangled by the C++ runtime.
#include "diagnostics/backtrace.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <dlfcn.h>
#include <elf.h>
#include <execinfo.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct symbol_range {
  std::uintptr_t start, size;
  std::string name;
};

// Function symbols of the running executable, read once.
struct executable_symbols {
  bool loaded = false;
  bool position_independent = true;
  const void *base = nullptr;
  std::vector<symbol_range> functions;
};

// Process-wide: a backtrace is printed from an internal error anywhere in
// the program, with nothing but the process at hand; loaded on first use.
executable_symbols own_symbols;

bool read_at(int fd, void *buffer, std::size_t length, off_t offset) {
  return pread(fd, buffer, length, offset) == static_cast<ssize_t>(length);
}

void load_own_symbols() {
  if (own_symbols.loaded)
    return;
  own_symbols.loaded = true;
  // A statically linked program has no dynamic loader to ask; it is not
  // position independent either, so its addresses are the table's.
  Dl_info self{};
  if (dladdr(reinterpret_cast<void *>(&print_backtrace), &self))
    own_symbols.base = self.dli_fbase;
  int fd = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return;
  Elf64_Ehdr header;
  if (read_at(fd, &header, sizeof header, 0) && std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
      header.e_ident[EI_CLASS] == ELFCLASS64 && header.e_shentsize == sizeof(Elf64_Shdr)) {
    own_symbols.position_independent = header.e_type == ET_DYN;
    if (own_symbols.position_independent && !own_symbols.base)
      header.e_shnum = 0;  // no way to place the table
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    if (read_at(fd, sections.data(), sections.size() * sizeof(Elf64_Shdr), header.e_shoff)) {
      for (const Elf64_Shdr &section : sections) {
        if (section.sh_type != SHT_SYMTAB || section.sh_link >= sections.size() ||
            section.sh_entsize != sizeof(Elf64_Sym))
          continue;
        const Elf64_Shdr &strings = sections[section.sh_link];
        std::vector<Elf64_Sym> symbols(section.sh_size / sizeof(Elf64_Sym));
        std::vector<char> names(strings.sh_size + 1, '\0');
        if (!read_at(fd, symbols.data(), symbols.size() * sizeof(Elf64_Sym), section.sh_offset) ||
            !read_at(fd, names.data(), strings.sh_size, strings.sh_offset))
          break;
        for (const Elf64_Sym &symbol : symbols)
          if (ELF64_ST_TYPE(symbol.st_info) == STT_FUNC && symbol.st_value &&
              symbol.st_name < strings.sh_size)
            own_symbols.functions.push_back(
                {symbol.st_value, symbol.st_size ? symbol.st_size : 1, &names[symbol.st_name]});
        break;
      }
    }
  }
  close(fd);
}

const char *own_symbol_name(std::uintptr_t pc) {
  load_own_symbols();
  std::uintptr_t address = pc;
  if (own_symbols.position_independent)
    address -= reinterpret_cast<std::uintptr_t>(own_symbols.base);
  for (const symbol_range &range : own_symbols.functions)
    if (address >= range.start && address - range.start < range.size)
      return range.name.c_str();
  return nullptr;
}

// Process-wide for the same reason: the demangled name of the frame being
// printed, kept until the next one.
std::string demangled;

// Frames of the reporter itself are left out at the top of a backtrace.
bool is_reporter_frame(const char *name) {
  static const char *const own[] = {
      "internal_error", "internal_error_no_backtrace", "abort_at_source",
      "report_diagnostic", "fatal_error", "print_backtrace",
  };
  if (std::strncmp(name, "diagnostic_", 11) == 0)
    return true;
  for (const char *prefix : own) {
    std::size_t n = std::strlen(prefix);
    if (std::strncmp(name, prefix, n) == 0 && (name[n] == '\0' || name[n] == '('))
      return true;
  }
  return false;
}

// The walk ends at the program's entry function: what lies below is the
// C library's start-up.
bool is_outermost_function(const char *name) {
  static const char *const stops[] = {"main", "toplev::main", "execute_one_pass", "compile_file"};
  for (const char *prefix : stops) {
    std::size_t n = std::strlen(prefix);
    if (std::strncmp(name, prefix, n) == 0 && (name[n] == '\0' || name[n] == '('))
      return true;
  }
  return false;
}

} // namespace

const char *backtrace_function_name(const void *pc) {
  // A return address lies just after its call; look up the call itself.
  std::uintptr_t address = reinterpret_cast<std::uintptr_t>(pc) - 1;
  load_own_symbols();
  const char *name = nullptr;
  Dl_info info{};
  if (dladdr(reinterpret_cast<void *>(address), &info)) {
    // The executable's static table also names its local functions.
    if (info.dli_fbase && info.dli_fbase == own_symbols.base)
      name = own_symbol_name(address);
    if (!name)
      name = info.dli_sname;
  } else if (!own_symbols.base) {
    name = own_symbol_name(address);
  }
  if (!name)
    return nullptr;
  int status = 0;
  char *result = abi::__cxa_demangle(name, nullptr, nullptr, &status);
  demangled = status == 0 && result ? result : name;
  std::free(result);
  return demangled.c_str();
}

int print_backtrace(std::FILE *stream) {
  void *frames[64];
  int count = backtrace(frames, 64);
  int printed = 0;
  for (int i = 2; i < count; ++i) { // leave out this function and its caller
    const char *name = backtrace_function_name(frames[i]);
    if (!name)
      continue; // neither file nor function known
    if (printed == 0 && is_reporter_frame(name))
      continue;
    if (is_outermost_function(name))
      break;
    if (printed == 20)
      break;
    std::string function = name; // the next lookup reuses the buffer
    std::fprintf(stream, "0x%lx %s\n\t%s:%d\n", reinterpret_cast<unsigned long>(frames[i]),
                 function.c_str(), "???", 0);
    ++printed;
  }
  return printed;
}
