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
  // KEY's answer, or ASK(PATH) remembered under KEY.
  template <class F> bool answer(std::string &key, F ask);

  // An ordered map: a run asks about a few dozen paths, and the hashed
  // containers would load the maths library for the sake of ceilf.
  std::map<std::string, bool> answers_;
};

#endif
