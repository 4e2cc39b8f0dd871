#!/usr/bin/env bash
# Counts non-blank, non-comment lines of C++ in tests/ against the rest of the
# C++ outside build folders, and prints the ratio.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
count() {
  # A line counts when something other than whitespace and comment is left on it.
  awk '
    {
      line = $0; out = ""
      while (length(line) > 0) {
        if (inblock) {
          p = index(line, "*/")
          if (p == 0) { line = ""; break }
          line = substr(line, p + 2); inblock = 0
        } else {
          b = index(line, "/*"); s = index(line, "//")
          if (s > 0 && (b == 0 || s < b)) { out = out substr(line, 1, s - 1); line = ""; break }
          if (b > 0) { out = out substr(line, 1, b - 1); line = substr(line, b + 2); inblock = 1 }
          else { out = out line; line = "" }
        }
      }
      if (out ~ /[^ \t\r]/) n++
    }
    END { print n + 0 }'
}
files() {
  find . \( -name 'build*' -o -name '.git' \) -prune -o -type f \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' \) -print
}
tests=$(files | grep '^\./tests/' | sort | xargs cat | count)
rest=$(files | grep -v '^\./tests/' | sort | xargs cat | count)
awk -v t="$tests" -v r="$rest" 'BEGIN { printf "tests %d, rest %d, ratio %.3f\n", t, r, t / r }'
