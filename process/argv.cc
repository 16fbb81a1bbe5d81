// Argument-file syntax: split, write and the expansion of "@file"
// arguments.  Nothing here prints or exits; failures go back to the caller.
#include "process/argv.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "support/text.h"
#include "support/xmalloc.h"

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool only_whitespace(const char *text) {
  for (; *text; ++text)
    if (!is_blank(*text))
      return false;
  return true;
}

// A copy of ARGV's ARGC entries that owns its texts, null-terminated.
char **copy_arguments(char *const *argv, int argc) {
  auto **copy = static_cast<char **>(xmalloc((static_cast<std::size_t>(argc) + 1) *
                                             sizeof(char *)));
  for (int i = 0; i < argc; ++i)
    copy[i] = xstrdup(argv[i]);
  copy[argc] = nullptr;
  return copy;
}

// The whole contents of NAME as a new text, or null when the file cannot
// be opened, measured or read.
char *read_whole_file(const char *name) {
  std::FILE *f = std::fopen(name, "r");
  if (!f)
    return nullptr;
  char *buffer = nullptr;
  long size;
  if (std::fseek(f, 0, SEEK_END) == 0 && (size = std::ftell(f)) >= 0 &&
      std::fseek(f, 0, SEEK_SET) == 0) {
    buffer = static_cast<char *>(xmalloc(static_cast<std::size_t>(size) + 1));
    std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(size), f);
    if (got != static_cast<std::size_t>(size) && std::ferror(f)) {
      std::free(buffer);
      buffer = nullptr;
    } else {
      buffer[got] = '\0';
    }
  }
  std::fclose(f);
  return buffer;
}

} // namespace

char **split_arguments(const char *input) {
  if (!input)
    return nullptr;
  std::size_t room = 8;
  std::size_t argc = 0;
  auto **argv = static_cast<char **>(xmalloc(room * sizeof(char *)));
  // No argument is longer than the whole text.
  auto *arg_start = static_cast<char *>(xmalloc(std::strlen(input) + 1));

  do {
    while (is_blank(*input))
      ++input;
    char *arg = arg_start;
    bool squote = false, dquote = false, escaped = false;
    for (; *input; ++input) {
      char c = *input;
      if (escaped) {
        escaped = false;
        *arg++ = c;
      } else if (c == '\\') {
        escaped = true;
      } else if (squote) {
        if (c == '\'')
          squote = false;
        else
          *arg++ = c;
      } else if (dquote) {
        if (c == '"')
          dquote = false;
        else
          *arg++ = c;
      } else if (is_blank(c)) {
        break;
      } else if (c == '\'') {
        squote = true;
      } else if (c == '"') {
        dquote = true;
      } else {
        *arg++ = c;
      }
    }
    *arg = '\0';
    if (argc + 1 >= room) {
      room *= 2;
      argv = static_cast<char **>(xrealloc(argv, room * sizeof(char *)));
    }
    argv[argc++] = xstrdup(arg_start);
    argv[argc] = nullptr;
    while (is_blank(*input))
      ++input;
  } while (*input);

  std::free(arg_start);
  return argv;
}

void free_arguments(char **argv) {
  if (!argv)
    return;
  for (char **p = argv; *p; ++p)
    std::free(*p);
  std::free(argv);
}

int count_arguments(char *const *argv) {
  int n = 0;
  if (argv)
    while (argv[n])
      ++n;
  return n;
}

int write_arguments(char *const *argv, std::FILE *stream) {
  if (!stream)
    return 1;
  for (; *argv; ++argv) {
    const char *arg = *argv;
    if (*arg == '\0') {
      if (std::fputs("\"\"", stream) == EOF)
        return 1;
    }
    for (; *arg; ++arg) {
      char c = *arg;
      if ((is_blank(c) || c == '\\' || c == '\'' || c == '"') && std::fputc('\\', stream) == EOF)
        return 1;
      if (std::fputc(c, stream) == EOF)
        return 1;
    }
    if (std::fputc('\n', stream) == EOF)
      return 1;
  }
  return 0;
}

const char *expand_response_files(int *argcp, char ***argvp,
                                  std::vector<argument_origin> *origins) {
  // At most 1999 "@" arguments per run, nested ones and those that name no
  // file included: a file that names itself must end.
  int at_limit = 2000;
  char **const original = *argvp;

  if (origins)
    origins->clear();
  int i = 1;
  while (i < *argcp) {
    const char *arg = (*argvp)[i];
    if (arg[0] != '@') {
      ++i;
      continue;
    }
    if (--at_limit == 0)
      return too_many_response_files;

    const char *filename = arg + 1;
    struct stat st;
    if (stat(filename, &st) < 0) {
      ++i;
      continue;
    }
    if (S_ISDIR(st.st_mode))
      return response_file_is_directory;
    char *contents = read_whole_file(filename);
    if (!contents) {
      ++i;
      continue;
    }

    char **file_argv = nullptr;
    int file_argc = 0;
    if (!only_whitespace(contents)) {
      file_argv = split_arguments(contents);
      file_argc = count_arguments(file_argv);
    }
    std::free(contents);

    if (origins) {
      // The file's name outlives the "@" argument released below.
      const char *file = xstrdup(filename);
      if (origins->empty())
        origins->assign(static_cast<std::size_t>(*argcp), argument_origin{nullptr, 0});
      auto at = origins->erase(origins->begin() + i);
      at = origins->insert(at, static_cast<std::size_t>(file_argc), argument_origin{file, 0});
      for (int k = 0; k < file_argc; k++)
        at[k].word = k + 1;
    }
    if (*argvp == original)
      *argvp = copy_arguments(original, *argcp);
    char **argv = *argvp;
    std::free(argv[i]);
    // Room for the file's arguments in place of the "@" one, plus the
    // terminator.
    argv = static_cast<char **>(xrealloc(
        argv, (static_cast<std::size_t>(*argcp) + file_argc + 1) * sizeof(char *)));
    std::memmove(argv + i + file_argc, argv + i + 1,
                 static_cast<std::size_t>(*argcp - i) * sizeof(char *));
    if (file_argc)
      std::memcpy(argv + i, file_argv, static_cast<std::size_t>(file_argc) * sizeof(char *));
    std::free(file_argv);  // the texts now belong to the vector
    *argcp += file_argc - 1;
    *argvp = argv;
    // Go on at the first inserted argument, so nested "@" files expand too.
  }
  return nullptr;
}
