# Shell functions shared by scripts/demo and bench/run: building the program
# and the maker, making a sample database only when it is missing or stale,
# and writing a settings document from tools/demo-settings.xml.in.
# Source it after `set -euo pipefail`, with ROOT set to the repository.

# The settings template; DEMO_SETTINGS_IN names another file with the same
# tokens (@DT_BEGIN@, @N_DAYS@, @DB@, @USER_DIR@, @EXPORT@, @EVALUATE@).
settings_template() {
  echo "${DEMO_SETTINGS_IN:-$ROOT/tools/demo-settings.xml.in}"
}

# Configures build/ when it is not configured yet, then builds the targets.
build_targets() {
  echo "building $* in $ROOT/build" >&2
  if [ ! -f "$ROOT/build/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$ROOT/build" >/dev/null
  fi
  cmake --build "$ROOT/build" -j"$(nproc)" --target "$@" >/dev/null
}

# make_database PATH MAKER-OPTIONS...: writes PATH with the maker unless it
# exists and was made with the same options by the same maker binary (the
# record of both sits beside it in PATH.made-by).
make_database() {
  local db=$1; shift
  local maker="$ROOT/build/tools/make_sample_db"
  local record
  record="$(sha256sum <"$maker" | cut -d' ' -f1) $*"
  if [ -f "$db" ] && [ -f "$db.made-by" ] && [ "$(cat "$db.made-by")" = "$record" ]; then
    echo "sample database $db is up to date" >&2
    return 0
  fi
  mkdir -p "$(dirname "$db")"
  rm -f "$db.made-by"
  "$maker" --force "$@" -o "$db"
  printf '%s\n' "$record" >"$db.made-by"
}

# Escapes a value for an XML attribute.
xml_escape() {
  local s=$1
  s=${s//&/"&amp;"}
  s=${s//</"&lt;"}
  s=${s//>/"&gt;"}
  s=${s//\"/"&quot;"}
  printf '%s' "$s"
}

# write_settings OUT DT_BEGIN N_DAYS DB USER_DIR [EXPORT [EVALUATE]]: the
# template with its tokens replaced (USER_DIR should end with "/"; EXPORT
# lists the files written besides the pages, such as "json", EVALUATE the
# standards evaluated besides the day pages', such as "32144-2013"; none when
# empty or not given).
write_settings() {
  local out=$1 begin=$2 days=$3 db=$4 userdir=$5 exports=${6:-} evaluate=${7:-}
  local template text
  template=$(settings_template)
  if [ ! -f "$template" ]; then
    echo "settings template $template is missing" >&2
    return 1
  fi
  text=$(<"$template")
  text=${text//@DT_BEGIN@/"$(xml_escape "$begin")"}
  text=${text//@N_DAYS@/"$(xml_escape "$days")"}
  text=${text//@DB@/"$(xml_escape "$db")"}
  text=${text//@USER_DIR@/"$(xml_escape "$userdir")"}
  text=${text//@EXPORT@/"$(xml_escape "$exports")"}
  text=${text//@EVALUATE@/"$(xml_escape "$evaluate")"}
  mkdir -p "$(dirname "$out")"
  printf '%s\n' "$text" >"$out.tmp"
  mv "$out.tmp" "$out"
}
