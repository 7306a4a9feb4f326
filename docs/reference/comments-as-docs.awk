# Doxygen's input filter for the headers: a block of // comments directly above a
# declaration is that declaration's documentation (the headers' own convention), as are
# /// lines; a trailing // after a declaration documents it too. Blocks followed by a
# blank line, a preprocessor line, an access label or a closing brace (file and section
# notes) stay plain comments. The headers themselves are left as they are.
function flush(next_line,   i, doc) {
  doc = 1
  if (first_block || next_line ~ /^[ \t]*$/ || next_line ~ /^[ \t]*#/ ||
      next_line ~ /^[ \t]*(public|private|protected)[ \t]*:/ || next_line ~ /^[ \t]*}/ ||
      next_line ~ /^[ \t]*namespace[ \t]/)
    doc = 0
  # A note in // followed by /// lines is about what follows as a whole ("Published
  # properties."): the /// lines alone document the declaration.
  explicit = -1
  for (i = 0; i < n; i++)
    if (block[i] ~ /^[ \t]*\/\/\/[^\/]?/ && explicit < 0) explicit = i
  for (i = 0; i < n; i++) {
    line = block[i]
    # "#n" would be a link request to n.
    if (doc && (explicit < 0 || i >= explicit) && sub(/\/\/+/, "///", line)) gsub(/#/, "\\#", line)
    print line
  }
  n = 0
  first_block = 0
}
BEGIN { n = 0; first_block = 1 }
{
  if ($0 ~ /^[ \t]*\/\//) {
    block[n++] = $0
    next
  }
  if (n > 0) flush($0)
  else if ($0 !~ /^[ \t]*$/) first_block = 0
  line = $0
  # "int X;  // what X is" and "Value,  // what it means"
  if (line !~ /^[ \t]*\/\// && line !~ /(https?:|")[^"]*\/\//)
    sub(/[;,{][ \t]+\/\/[ \t]*/, "&<", line) && sub(/\/\/[ \t]*</, "///< ", line)
  print line
}
END { if (n > 0) flush("") }
