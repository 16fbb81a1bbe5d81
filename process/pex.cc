// Pipeline logic of the process-execution library, written against the
// system-operations table of pex-unix.h.
#include "process/pex.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "process/pex-unix.h"
#include "process/temp-files.h"
#include "support/text.h"
#include "support/xmalloc.h"

namespace {

bool ends_with_template(const char *text) {
  std::size_t len = std::strlen(text);
  return len >= 6 && std::strcmp(text + len - 6, "XXXXXX") == 0;
}

// The name of a temporary output for a stage with FLAGS and the caller's
// NAME (may be null).  The result is NAME itself or a new text; null when
// no file could be made.
char *pex_temp_name(pex_pipeline *obj, int flags, const char *name) {
  if (!name) {
    if (!obj->temp_base)
      return create_temp_file(nullptr);
    char *templ = ends_with_template(obj->temp_base) ? xstrdup(obj->temp_base)
                                                     : concat(obj->temp_base, "XXXXXX", nullptr);
    int fd = mkstemps(templ, 0);
    if (fd < 0) {
      std::free(templ);
      return nullptr;
    }
    obj->ops->close_descriptor(obj, fd);
    return templ;
  }
  if (flags & PEX_NAME_IS_SUFFIX) {
    if (!obj->temp_base)
      return create_temp_file(name);
    return concat(obj->temp_base, name, nullptr);
  }
  return const_cast<char *>(name);
}

void add_to_remove_list(pex_pipeline *obj, const char *name, bool take_ownership) {
  obj->remove_list = static_cast<char **>(
      xrealloc(obj->remove_list, (obj->remove_count + 1) * sizeof(char *)));
  obj->remove_list[obj->remove_count++] =
      take_ownership ? const_cast<char *>(name) : xstrdup(name);
}

void release_next_input_name(pex_pipeline *obj) {
  if (obj->next_input_name_owned)
    std::free(obj->next_input_name);
  obj->next_input_name = nullptr;
  obj->next_input_name_owned = false;
}

// Wait for every child not waited for yet.  A failed wait makes the result
// false (with the failure of that wait) but the others are still waited for.
bool pex_wait_all(pex_pipeline *obj, bool done, const char **errmsg, int *err) {
  if (obj->waited == obj->count)
    return true;
  std::size_t count = static_cast<std::size_t>(obj->count);
  std::size_t first = static_cast<std::size_t>(obj->waited);
  obj->statuses = static_cast<int *>(xrealloc(obj->statuses, count * sizeof(int)));
  std::memset(obj->statuses + first, 0, (count - first) * sizeof(int));
  if (obj->flags & PEX_WITH_TIMES) {
    obj->times = static_cast<pex_times *>(xrealloc(obj->times, count * sizeof(pex_times)));
    std::memset(obj->times + first, 0, (count - first) * sizeof(pex_times));
  }
  bool ok = true;
  for (std::size_t i = first; i < count; ++i) {
    // pex_destroy clears PEX_WITH_TIMES; an older times array may be short.
    pex_times *slot = (obj->flags & PEX_WITH_TIMES) ? &obj->times[i] : nullptr;
    if (obj->ops->wait_child(obj, obj->children[i], &obj->statuses[i], slot, done, errmsg, err) <
        0)
      ok = false;
  }
  obj->waited = obj->count;
  return ok;
}

bool input_chosen(const pex_pipeline *obj) {
  return obj->count > 0 || obj->next_input != 0 || obj->next_input_name || obj->input_file;
}

} // namespace

pex_pipeline *pex_create_with_ops(int flags, const char *program_name, const char *temp_base,
                                  const pex_system_ops *ops) {
  auto *obj = static_cast<pex_pipeline *>(xcalloc(1, sizeof(pex_pipeline)));
  obj->flags = flags;
  obj->program_name = program_name;
  obj->temp_base = temp_base;
  obj->next_input = 0;
  obj->stderr_pipe = -1;
  obj->ops = ops;
  return obj;
}

pex_pipeline *pex_create(int flags, const char *program_name, const char *temp_base) {
  return pex_create_with_ops(flags, program_name, temp_base, &pex_unix_ops);
}

const char *pex_run_stage(pex_pipeline *obj, int flags, const char *executable,
                          char *const *argv, const char *outname, const char *errname,
                          int *err) {
  return pex_run_stage_env(obj, flags, executable, argv, nullptr, outname, errname, err);
}

namespace {

// What one stage sets up before its child starts: the descriptors of its
// input, output and error output and the pipe ends meant for the next
// stage.  Each step answers false after a failure (ERRMSG and *ERR set);
// release() then undoes what the stage opened or made.
struct stage_setup {
  pex_pipeline *obj;
  int flags;
  int *err;
  const char *errmsg = nullptr;
  int in = -1, out = -1, errdes = -1;
  bool in_from_pipeline = false;  // IN is the pipeline's own next_input
  int new_next_input = -1;        // read end for the next stage, once started
  int new_stderr_pipe = -1;
  char *outname = nullptr;
  bool outname_owned = false;     // released here (not handed to the next stage)

  bool fail(const char *message, int error) {
    errmsg = message;
    *err = error;
    return false;
  }

  // 1. The caller's input file is complete now.
  bool close_caller_input() {
    if (!obj->input_file)
      return true;
    std::FILE *f = obj->input_file;
    obj->input_file = nullptr;
    if (std::fclose(f) == EOF)
      return fail("closing pipeline input file", errno);
    return true;
  }

  // 2. Input: the previous stage's file or pipe, or the caller's input.
  bool open_input() {
    if (obj->next_input_name) {
      // The previous stage must have finished writing the file.
      if (!pex_wait_all(obj, false, &errmsg, err))
        return false;
      in = obj->ops->open_input_file(obj, obj->next_input_name, flags & PEX_BINARY_IN);
      if (in < 0)
        return fail("open temporary file", errno);
      release_next_input_name(obj);
      return true;
    }
    in = obj->next_input;
    if (in < 0)
      return fail("pipeline already complete", 0);
    in_from_pipeline = true;
    return true;
  }

  // 3. Output: the named file or standard output for the last stage, else
  // a temporary file or a pipe to the next stage.
  bool open_output(const char *orig_outname) {
    const pex_system_ops *ops = obj->ops;
    if (flags & PEX_LAST_STAGE) {
      if (orig_outname) {
        if (flags & PEX_NAME_IS_SUFFIX) {
          outname = concat(obj->temp_base ? obj->temp_base : "", orig_outname, nullptr);
          outname_owned = true;
        } else {
          outname = const_cast<char *>(orig_outname);
        }
      } else {
        out = 1;
      }
      obj->next_input = -1;
    } else if (!(obj->flags & PEX_WITH_PIPES)) {
      outname = pex_temp_name(obj, flags, orig_outname);
      if (!outname)
        return fail("could not create temporary file", 0);
      bool made_here = outname != orig_outname;
      if (!(obj->flags & PEX_KEEP_TEMPS))
        add_to_remove_list(obj, outname, false);
      // The next stage reads this file; the name now belongs to the pipeline.
      obj->next_input_name = outname;
      obj->next_input_name_owned = made_here;
    } else {
      int p[2];
      if (ops->create_pipe(obj, p, flags & PEX_BINARY_OUT) < 0)
        return fail("pipe", errno);
      out = p[1];
      new_next_input = p[0];
    }
    if (!outname)
      return true;
    out = ops->open_output_file(obj, outname, flags & PEX_BINARY_OUT, flags & PEX_APPEND_STDOUT);
    if (out < 0)
      return fail("open temporary output file", errno);
    if (outname_owned) {
      std::free(outname);
      outname = nullptr;
      outname_owned = false;
    }
    return true;
  }

  // 4. Error output: standard error, a file or a pipe the caller reads.
  bool open_error_output(const char *errname) {
    const pex_system_ops *ops = obj->ops;
    if (errname && (flags & PEX_STDERR_TO_PIPE))
      return fail("both ERRNAME and PEX_STDERR_TO_PIPE specified.", 0);
    if (obj->stderr_pipe != -1)
      return fail("PEX_STDERR_TO_PIPE used in the middle of pipeline", 0);
    if (errname) {
      errdes = ops->open_output_file(obj, errname, flags & PEX_BINARY_ERR,
                                     flags & PEX_APPEND_STDERR);
      if (errdes < 0)
        return fail("open error file", errno);
      return true;
    }
    if (!(flags & PEX_STDERR_TO_PIPE)) {
      errdes = 2;
      return true;
    }
    int p[2];
    if (ops->create_pipe(obj, p, flags & PEX_BINARY_ERR) < 0)
      return fail("pipe", errno);
    errdes = p[1];
    new_stderr_pipe = p[0];
    return true;
  }

  // 5 and 6.  The child closes the read end meant for the next stage; the
  // spawn takes over IN, OUT and ERRDES whatever its outcome.
  bool spawn(const char *executable, char *const *argv, char *const *env) {
    int toclose = (obj->flags & PEX_WITH_PIPES) ? new_next_input : -1;
    pid_t pid = obj->ops->spawn_child(obj, flags, executable, argv, env, in, out, errdes,
                                      toclose, &errmsg, err);
    if (in_from_pipeline && in > 0 && !(flags & PEX_LAST_STAGE))
      obj->next_input = -1;
    in = out = errdes = -1;
    if (pid < 0)
      return false;
    obj->children =
        static_cast<pid_t *>(xrealloc(obj->children, (obj->count + 1) * sizeof(pid_t)));
    obj->children[obj->count++] = pid;
    if (!(flags & PEX_LAST_STAGE) && (obj->flags & PEX_WITH_PIPES))
      obj->next_input = new_next_input;
    if (new_stderr_pipe >= 0)
      obj->stderr_pipe = new_stderr_pipe;
    return true;
  }

  // 7. Release what this stage opened or made; the failure text.
  const char *release() {
    const pex_system_ops *ops = obj->ops;
    if (in > 0) {
      ops->close_descriptor(obj, in);
      if (in_from_pipeline && obj->next_input == in)
        obj->next_input = -1;
    }
    if (out > 1)
      ops->close_descriptor(obj, out);
    if (errdes > 2)
      ops->close_descriptor(obj, errdes);
    if (new_next_input >= 0)
      ops->close_descriptor(obj, new_next_input);
    if (new_stderr_pipe >= 0)
      ops->close_descriptor(obj, new_stderr_pipe);
    if (outname_owned)
      std::free(outname);
    return errmsg;
  }
};

} // namespace

const char *pex_run_stage_env(pex_pipeline *obj, int flags, const char *executable,
                              char *const *argv, char *const *env, const char *orig_outname,
                              const char *errname, int *err) {
  *err = 0;
  stage_setup stage{obj, flags, err};
  if (stage.close_caller_input() && stage.open_input() && stage.open_output(orig_outname) &&
      stage.open_error_output(errname) && stage.spawn(executable, argv, env))
    return nullptr;
  return stage.release();
}

std::FILE *pex_stdin_file(pex_pipeline *obj, int flags, const char *in_name) {
  if (input_chosen(obj)) {
    errno = EINVAL;
    return nullptr;
  }
  char *name = pex_temp_name(obj, flags, in_name);
  if (!name)
    return nullptr;
  bool made_here = name != in_name;
  std::FILE *f = std::fopen(name, (flags & PEX_BINARY_OUT) ? "wb" : "w");
  if (!f) {
    int saved = errno;
    if (made_here)
      std::free(name);
    errno = saved;
    return nullptr;
  }
  // A name the library made is a temporary like those between stages.
  if (made_here && !(obj->flags & PEX_KEEP_TEMPS))
    add_to_remove_list(obj, name, false);
  obj->input_file = f;
  obj->next_input_name = name;
  obj->next_input_name_owned = made_here;
  return f;
}

std::FILE *pex_stdin_pipe(pex_pipeline *obj, bool binary) {
  if (input_chosen(obj) || !(obj->flags & PEX_WITH_PIPES)) {
    errno = EINVAL;
    return nullptr;
  }
  int p[2];
  if (obj->ops->create_pipe(obj, p, binary) < 0)
    return nullptr;
  std::FILE *f = obj->ops->stream_for_writing(obj, p[1], binary);
  if (!f) {
    int saved = errno;
    obj->ops->close_descriptor(obj, p[0]);
    obj->ops->close_descriptor(obj, p[1]);
    errno = saved;
    return nullptr;
  }
  obj->next_input = p[0];
  return f;
}

std::FILE *pex_stdout_stream(pex_pipeline *obj, bool binary) {
  if (obj->next_input_name) {
    const char *errmsg;
    int err;
    // The file is complete only once every writer has ended.
    if (!pex_wait_all(obj, false, &errmsg, &err)) {
      errno = err;
      return nullptr;
    }
    std::FILE *f = std::fopen(obj->next_input_name, binary ? "rb" : "r");
    if (!f)
      return nullptr;
    release_next_input_name(obj);
    obj->output_stream = f;
    return f;
  }
  int fd = obj->next_input;
  if (fd <= 0)
    return nullptr;
  std::FILE *f = obj->ops->stream_for_reading(obj, fd, binary);
  if (!f)
    return nullptr;
  obj->next_input = -1;
  obj->output_stream = f;
  return f;
}

std::FILE *pex_stderr_stream(pex_pipeline *obj, bool binary) {
  if (obj->stderr_pipe < 0)
    return nullptr;
  std::FILE *f = obj->ops->stream_for_reading(obj, obj->stderr_pipe, binary);
  if (!f)
    return nullptr;
  obj->stderr_pipe = -1;
  obj->error_stream = f;
  return f;
}

int pex_get_status(pex_pipeline *obj, int count, int *vector) {
  const char *errmsg;
  int err;
  if (!pex_wait_all(obj, false, &errmsg, &err)) {
    // The caller words its message from errno ("%m").
    errno = err;
    return 0;
  }
  for (int i = 0; i < count; ++i)
    vector[i] = i < obj->count ? obj->statuses[i] : 0;
  return 1;
}

int pex_collect_times(pex_pipeline *obj, int count, pex_times *vector) {
  if (!(obj->flags & PEX_WITH_TIMES))
    return 0;
  const char *errmsg;
  int err;
  if (!pex_wait_all(obj, false, &errmsg, &err)) {
    errno = err;
    return 0;
  }
  for (int i = 0; i < count; ++i) {
    if (i < obj->count)
      vector[i] = obj->times[i];
    else
      vector[i] = pex_times{};
  }
  return 1;
}

void pex_destroy(pex_pipeline *obj) {
  const pex_system_ops *ops = obj->ops;
  if (obj->next_input > 0)
    ops->close_descriptor(obj, obj->next_input);
  if (obj->stderr_pipe > 0)
    ops->close_descriptor(obj, obj->stderr_pipe);
  if (obj->input_file)
    std::fclose(obj->input_file);
  if (obj->output_stream)
    std::fclose(obj->output_stream);
  if (obj->error_stream)
    std::fclose(obj->error_stream);

  // Children the caller never asked about are told to stop and reaped, so
  // none outlives the pipeline as a zombie.
  if (obj->waited < obj->count) {
    obj->flags &= ~PEX_WITH_TIMES;
    const char *errmsg;
    int err;
    pex_wait_all(obj, true, &errmsg, &err);
  }

  release_next_input_name(obj);
  std::free(obj->children);
  std::free(obj->statuses);
  std::free(obj->times);
  for (int i = 0; i < obj->remove_count; ++i) {
    std::remove(obj->remove_list[i]);
    std::free(obj->remove_list[i]);
  }
  std::free(obj->remove_list);
  if (ops->release)
    ops->release(obj);
  std::free(obj);
}

const char *pex_run_once(int flags, const char *executable, char *const *argv,
                         const char *program_name, const char *outname, const char *errname,
                         int *status, int *err) {
  pex_pipeline *obj = pex_create(0, program_name, nullptr);
  const char *errmsg = pex_run_stage(obj, flags, executable, argv, outname, errname, err);
  if (!errmsg && !pex_get_status(obj, 1, status)) {
    *err = 0;
    errmsg = "pex_get_status failed";
  }
  pex_destroy(obj);
  return errmsg;
}
