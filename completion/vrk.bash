# Bash completion for the compiler drivers vrk and vrk++ and the archive
# tool wrappers vrk-ar, vrk-nm and vrk-ranlib.
#
# Option words and their values ("-fsanitize=", "-march=", "-mcpu=",
# "-std=" ...) come from the driver being completed, through its
# "--completion=" query, so they are always those of that installation.
# Input files, and the arguments of options that name a file or a
# directory, complete as file names.
#
# The installation puts this file in share/bash-completion/completions
# under the name of every program.  bash-completion loads it on demand when
# that share directory is on XDG_DATA_DIRS; without bash-completion, source
# it from ~/.bashrc.

# The command line up to the cursor, split at blanks (not at "=" and ":",
# where bash splits its own words), into _vrk_words, with the word under
# the cursor in _vrk_cur and the one before it in _vrk_prev.
_vrk_split_line() {
  local line=${COMP_LINE:0:COMP_POINT}
  read -ra _vrk_words <<<"$line"
  if [[ -z $line || $line == *[[:space:]] ]]; then
    _vrk_cur=
  else
    _vrk_cur=${_vrk_words[${#_vrk_words[@]} - 1]}
    unset '_vrk_words[${#_vrk_words[@]}-1]'
  fi
  _vrk_prev=
  ((${#_vrk_words[@]})) && _vrk_prev=${_vrk_words[${#_vrk_words[@]} - 1]}
}

# Readline replaces only the part of the word after its last "=" or ":"
# (when COMP_WORDBREAKS has them): drop the part before from every answer.
_vrk_reply() {
  local breaks=${COMP_WORDBREAKS//[^=:]/} lead=
  [[ -n $breaks ]] && lead=${_vrk_cur%"${_vrk_cur##*[$breaks]}"}
  COMPREPLY=()
  local word
  for word in "$@"; do
    COMPREPLY+=("${word#"$lead"}")
  done
}

# File names (-f) or directories (-d) that begin with $2, each after the
# option text $3 when the name is joined to an option.
_vrk_files() {
  local IFS=$'\n' found
  compopt -o filenames 2>/dev/null
  found=($(compgen "$1" -- "$2"))
  _vrk_reply "${found[@]/#/$3}"
}

# What the driver named by the command word answers for --completion=$1.
_vrk_ask_driver() {
  local driver=${_vrk_words[0]}
  driver=${driver/#\~\//$HOME/}
  "$driver" --completion="$1" 2>/dev/null
}

_vrk_driver() {
  local _vrk_words _vrk_cur _vrk_prev
  _vrk_split_line

  case $_vrk_prev in
  -o | -MF | -MT | -MQ | -include | -imacros | -aux-info | -dumpbase | -Xlinker | -Xassembler | -Xpreprocessor)
    _vrk_files -f "$_vrk_cur"
    return
    ;;
  -B | -I | -L | -F | -isystem | -iquote | -idirafter | -iprefix | -isysroot | -dumpdir)
    _vrk_files -d "$_vrk_cur"
    return
    ;;
  -x)
    # The languages of the driver's compilers table.
    _vrk_reply $(compgen -W "c c-header cpp-output c++ c++-header c++-system-header
      c++-user-header c++-cpp-output assembler assembler-with-cpp ada lto none" -- "$_vrk_cur")
    return
    ;;
  esac

  case $_vrk_cur in
  -specs=* | --sysroot=* | -fprofile-use=* | -fprofile-generate=* | -fplugin=* | -iplugindir=*)
    local type=-f
    [[ $_vrk_cur == --sysroot=* ]] && type=-d
    _vrk_files "$type" "${_vrk_cur#*=}" "${_vrk_cur%%=*}="
    ;;
  -*)
    local IFS=$'\n'
    _vrk_reply $(_vrk_ask_driver "$_vrk_cur")
    # An option that takes a joined argument: no blank after it yet.
    [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *[=,] ]] && compopt -o nospace 2>/dev/null
    ;;
  *)
    _vrk_files -f "$_vrk_cur"
    ;;
  esac
}

# The wrappers take "-B prefix" and --version themselves; everything else
# goes to the archive tool, whose arguments are mostly file names.
_vrk_wrapper() {
  local _vrk_words _vrk_cur _vrk_prev
  _vrk_split_line
  if [[ $_vrk_prev == -B ]]; then
    _vrk_files -d "$_vrk_cur"
  elif [[ $_vrk_cur == -* ]]; then
    _vrk_reply $(compgen -W "-B --version" -- "$_vrk_cur")
  else
    _vrk_files -f "$_vrk_cur"
  fi
}

complete -F _vrk_driver vrk vrk++
complete -F _vrk_wrapper vrk-ar vrk-nm vrk-ranlib
