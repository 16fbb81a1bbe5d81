#!/usr/bin/env bash
# complete.sh SCRIPT LINE: sources the completion SCRIPT in this
# non-interactive shell, completes LINE with the cursor at its end as the
# function registered for its command would, and prints the answers one
# per line.  COMP_WORDBREAKS keeps bash's default unless VRK_WORDBREAKS
# gives another.
source "$1" || exit 1
COMP_LINE=$2
COMP_POINT=${#COMP_LINE}
COMP_WORDBREAKS=${VRK_WORDBREAKS-$COMP_WORDBREAKS}
read -ra words <<<"$COMP_LINE"
spec=$(complete -p "${words[0]##*/}") || exit 1
function=${spec#*-F }
function=${function%% *}
"$function" "${words[0]}"
printf '%s\n' "${COMPREPLY[@]}"
