// The answers of file-system probes made while walking search prefixes,
// kept for one run: the installation and the directories a run searches do
// not change while it runs, so every directory and file is asked about at
// most once.  The key is the probed path itself (with the kind of
// question), so no change to the prefix lists, suffixes or multilib
// choice can leave a stale answer behind.
//
// Files the run's children create (outputs, temporaries) are never asked
// about through this memo.
#ifndef VRK_PROCESS_PROBE_MEMO_H
#define VRK_PROCESS_PROBE_MEMO_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class probe_memo {
public:
  // access(PATH, MODE) succeeds.
  bool accessible(const char *path, int mode);
  // The same, and with X_OK PATH is also no directory (a program).
  bool usable_file(const char *path, int mode);
  // PATH followed by "/." (or "." after a trailing "/") is a directory.
  bool directory(const char *path);

private:
  // Questions: access() with modes 0 to 7, then "no directory", then
  // "a directory".
  enum : unsigned char { file_question = 8, directory_question = 9 };

  // Whether PATH lies in a directory already found not to be one.
  bool in_missing_directory(const char *path) const;

  // PATH's answer to QUESTION, or ASK() remembered for it.
  template <class F> bool answer(unsigned char question, std::string_view path, F ask);

  // The answers, in an open-addressing table: a link asks a hundred
  // questions about long paths that differ only at their ends, which a
  // tree compares over and over; the library's hashed containers would
  // load the maths library (for ceilf).
  struct entry {
    std::string path;
    std::size_t hash;
    unsigned char question;
    bool yes;
  };
  // The entry for QUESTION and PATH (whose hash is HASH), or null; *SLOT
  // is where it is or would go.
  const entry *find(unsigned char question, std::string_view path, std::size_t hash,
                    std::size_t *slot) const;
  void grow();

  std::vector<entry> entries_;
  std::vector<int> slots_;  // entry index + 1, 0 empty; a power of two, at most half used
};

#endif
