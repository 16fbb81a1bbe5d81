// A scratch directory for the unit tests that touch the file system: made
// under /tmp, removed with everything in it (read-only parts included)
// when the test ends.  Also small file and stream helpers the tests share.
#ifndef VRK_SUPPORT_SCRATCH_DIR_TEST_SUPPORT_H
#define VRK_SUPPORT_SCRATCH_DIR_TEST_SUPPORT_H

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

class scratch_dir {
public:
  scratch_dir() {
    char pattern[] = "/tmp/vrk-test-XXXXXX";
    root_ = mkdtemp(pattern);
  }
  ~scratch_dir() {
    // Directories a test made read-only would keep their entries.
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(root_, ec); !ec && it != fs::end(it);
         it.increment(ec))
      if (it->is_directory(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }
  scratch_dir(const scratch_dir &) = delete;
  scratch_dir &operator=(const scratch_dir &) = delete;

  const std::string &root() const { return root_; }
  std::string path(const std::string &relative) const { return root_ + "/" + relative; }

  // Write CONTENT to RELATIVE (parents made as needed); the full path.
  std::string file(const std::string &relative, const std::string &content = "") const {
    std::string p = path(relative);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  // An executable shell script RELATIVE running BODY; the full path.
  std::string script(const std::string &relative, const std::string &body) const {
    std::string p = file(relative, "#!/bin/sh\n" + body + "\n");
    chmod(p.c_str(), 0755);
    return p;
  }
  // Make RELATIVE as a directory (parents too); the full path.
  std::string dir(const std::string &relative, mode_t mode = 0755) const {
    std::string p = path(relative);
    std::filesystem::create_directories(p);
    chmod(p.c_str(), mode);
    return p;
  }

private:
  std::string root_;
};

// What PRINT writes to a stream.
inline std::string printed(const std::function<void(std::FILE *)> &print) {
  char *text = nullptr;
  std::size_t size = 0;
  std::FILE *f = open_memstream(&text, &size);
  print(f);
  std::fclose(f);
  std::string out(text, size);
  std::free(text);
  return out;
}

// The whole contents of the file NAME ("" when it cannot be read).
inline std::string slurp(const std::string &name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

#endif
