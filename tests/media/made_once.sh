# Sourced by the media scripts, which make their files once per output folder.
#
# made_once OUTDIR TOOL...: sets out to OUTDIR (made, and absolute) and stamp to the hash of the
# calling script and of the files in made_from (an array the caller may set first: what else the
# media depends on); takes OUTDIR/.lock for the rest of the script, so that callers running
# together wait while one makes the files; ends the script at once when OUTDIR/.stamp already
# holds the stamp, and with status 77 when a TOOL is missing. The script writes "$stamp" to
# "$out/.stamp" when it has made everything.
made_once() {
  mkdir -p "$1"
  out=$(cd "$1" && pwd)
  shift
  stamp=$(cat "$0" "${made_from[@]}" | sha1sum | cut -d' ' -f1)
  exec 9>"$out/.lock"
  flock 9
  if [ "$(cat "$out/.stamp" 2>/dev/null)" = "$stamp" ]; then exit 0; fi
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 77; }
  done
}
made_from=()
