# A stand-in log with one line per command, as -### lists it: the program,
# then its arguments, each one that is empty or holds a blank in double
# quotes.  The record's other lines (stdin:, rsp:, env:) follow it as they
# are.
/^program: / { line = substr($0, 10); rest = ""; next }
/^arg: / {
  word = substr($0, 6)
  if (word == "" || index(word, " ")) word = "\"" word "\""
  line = line " " word
  next
}
/^end$/ { print line rest; next }
{ rest = rest "\n" $0 }
