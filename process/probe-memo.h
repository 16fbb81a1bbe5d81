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

#include <map>
#include <string>

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
  // "a directory".  One map per question, looked up by the path itself.
  enum { file_question = 8, directory_question = 9, question_count = 10 };

  // Whether PATH lies in a directory already found not to be one.
  bool in_missing_directory(const char *path) const;

  // PATH's answer to QUESTION, or ASK() remembered for it.
  template <class F> bool answer(int question, const char *path, F ask);

  // Ordered maps: a run asks about a few dozen paths, and the hashed
  // containers would load the maths library for the sake of ceilf.
  std::map<std::string, bool, std::less<>> answers_[question_count];
};

#endif
