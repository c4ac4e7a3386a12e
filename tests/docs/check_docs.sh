#!/usr/bin/env bash
# Keeps the documentation true: every fenced block marked as an example in the Markdown pages
# runs (see "The documentation check" in HACKING.md); the Manual test keeps the options of
# `qvar --help` and the manual page alike. Usage: check_docs.sh QVAR SOURCE_DIR
set -uo pipefail
qvar="$(realpath "$1")"
src="$(realpath "$2")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { printf '%s\n' "$*" >&2; failures=$((failures + 1)); }

# `qvar` on PATH is the built game and nothing else of the build.
mkdir -p "$work/bin"
ln -s "$qvar" "$work/bin/qvar"
export PATH="$work/bin:$PATH"

# Runs one example block, written to $block, in the page's folder $dir.
run_block() {  # PAGE LINE KIND SCRIPT_NAME
  local page="$1" line="$2" kind="$3" name="$4" status=0
  if [ "$kind" = sh ]; then
    (cd "$dir" && timeout 60 bash -e -o pipefail "$block") > "$work/out" 2>&1 || status=$?
  else
    cp "$block" "$dir/$name"
    (cd "$dir" && timeout 60 qvar --headless --input "$name") > "$work/out" 2>&1 || status=$?
  fi
  if [ "$status" -ne 0 ]; then
    fail "$page:$line: the $kind example fails (status $status):"
    sed 's/^/    /' "$work/out" >&2
  fi
  examples=$((examples + 1))
}

examples=0
for file in "$src/README.md" "$src/HACKING.md" "$src"/docs/*.md; do
  page="${file#"$src"/}"
  dir="$work/pages/${page//\//_}"
  mkdir -p "$dir/data"
  export HOME="$dir" XDG_DATA_HOME="$dir/data"
  block="$work/block"
  in_fence=0 kind="" number=0
  while IFS= read -r text || [ -n "$text" ]; do
    number=$((number + 1))
    case "$text" in
      '```'*)
        if [ "$in_fence" = 1 ]; then
          in_fence=0
          [ -n "$kind" ] && run_block "$page" "$start" "$kind" "$name"
          kind=""
        else
          in_fence=1 start="$number" kind="" name=""
          read -r -a info <<< "${text#'```'}"
          if [ "${info[1]:-}" = example ]; then
            case "${info[0]:-}" in
              sh) kind=sh ;;
              qvar-script) kind=qvar-script name="example-$number.txt"
                           [[ "${info[2]:-}" == file=* ]] && name="${info[2]#file=}" ;;
              *) fail "$page:$number: unknown example kind '${info[0]:-}'" ;;
            esac
            : > "$block"
          fi
        fi ;;
      *) [ -n "$kind" ] && printf '%s\n' "$text" >> "$block" ;;
    esac
  done < "$file"
  [ "$in_fence" = 1 ] && fail "$page:$start: the fenced block is never closed"
done
[ "$examples" -gt 0 ] || fail "no example blocks found"

echo "examples run: $examples, failures: $failures"
[ "$failures" -eq 0 ]
