// A scratch directory tree for the spec tests that read files: created
// under /tmp, removed with everything in it when the test ends.
#ifndef VRK_SPEC_SCRATCH_TREE_TEST_SUPPORT_H
#define VRK_SPEC_SCRATCH_TREE_TEST_SUPPORT_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

class scratch_tree {
public:
  scratch_tree() {
    char pattern[] = "/tmp/vrk-spec-XXXXXX";
    root_ = mkdtemp(pattern);
  }
  ~scratch_tree() { std::filesystem::remove_all(root_); }
  scratch_tree(const scratch_tree &) = delete;
  scratch_tree &operator=(const scratch_tree &) = delete;

  // Write CONTENT (bytes as given) to RELATIVE; returns the full path.
  std::string file(const std::string &relative, const std::string &content = "") {
    std::filesystem::path p = std::filesystem::path(root_) / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }
  // Create RELATIVE as a directory; returns its full path ending in "/".
  std::string dir(const std::string &relative) {
    std::filesystem::path p = std::filesystem::path(root_) / relative;
    std::filesystem::create_directories(p);
    return p.string() + "/";
  }
  const std::string &root() const { return root_; }

private:
  std::string root_;
};

#endif
