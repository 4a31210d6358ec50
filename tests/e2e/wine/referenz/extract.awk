# Takes the runnable examples out of docs/referenz.md. An example is a
# fenced block ```vbscript or ```js; the next fenced block after it must be
# ```ausgabe, the output the example prints (only prose may stand between
# them). A ```protokoll block right after that output holds log entries the
# example writes, in their order ("..." stands for entries left out).
# PowerShell and all other blocks are left alone.
#
#   awk -v out=<dir> -f extract.awk docs/referenz.md
#
# Writes <dir>/NN.vbs or NN.js, <dir>/NN.expected, <dir>/NN.protokoll where
# the example has one, and one line per example
# to <dir>/index ("NN<TAB>extension<TAB>section<TAB>line", the section being
# the level-2 heading above the example, without backticks). Exits 1 with a
# message when an example has no output block or a fence is left open.
function fail(msg) { print "referenz.md:" NR ": " msg > "/dev/stderr"; failed = 1; exit 1 }

BEGIN { n = 0; mode = ""; pending = ""; heading = ""; shown = "" }

mode == "" && /^## / { heading = $0; sub(/^## +/, "", heading); gsub(/`/, "", heading) }

mode == "" && /^```/ {
  info = $0
  sub(/^```+ */, "", info)
  sub(/ .*$/, "", info)
  if (info == "vbscript" || info == "js") {
    if (pending != "") fail("example of line " pending_line " has no ```ausgabe block")
    shown = ""
    n++
    id = sprintf("%02d", n)
    ext = (info == "vbscript") ? "vbs" : "js"
    file = out "/" id "." ext
    printf "" > file
    printf "%s\t%s\t%s\t%d\n", id, ext, heading, NR > (out "/index")
    pending = id; pending_line = NR
    mode = "example"
    next
  }
  if (info == "ausgabe") {
    if (pending == "") fail("```ausgabe block without an example before it")
    file = out "/" pending ".expected"
    printf "" > file
    shown = pending
    pending = ""
    mode = "output"
    next
  }
  if (info == "protokoll") {
    if (shown == "") fail("```protokoll block that does not follow an example's ```ausgabe block")
    file = out "/" shown ".protokoll"
    printf "" > file
    shown = ""
    mode = "output"
    next
  }
  shown = ""
  mode = "other"
  next
}

mode != "" && /^```+ *$/ { if (mode != "other") close(file); mode = ""; next }

mode == "example" || mode == "output" { print > file; next }

END {
  if (failed) exit 1
  if (mode != "") { print "referenz.md: a fenced block is not closed" > "/dev/stderr"; exit 1 }
  if (pending != "") { print "referenz.md:" pending_line ": example has no ```ausgabe block" > "/dev/stderr"; exit 1 }
  if (n == 0) { print "referenz.md: no examples found" > "/dev/stderr"; exit 1 }
}
