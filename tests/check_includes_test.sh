#!/usr/bin/env bash
# The include check run on small trees of one include each, made in a
# temporary git repository: it must refuse every include out of its layer,
# above all a platform implementation reached from the contest logic, and
# let every include within the layers pass.
#
#   tests/check_includes_test.sh <path of scripts/check-includes>
set -euo pipefail
script=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

failures=0
# file, the header it includes, pass or fail
while read -r file included expected; do
  rm -rf "$tree"/* "$tree"/.git
  mkdir -p "$tree/scripts" "$tree/$(dirname "$file")"
  cp "$script" "$tree/scripts/check-includes"
  printf '#include "%s"\n' "$included" >"$tree/$file"
  git -C "$tree" init -q
  git -C "$tree" add -A
  if output=$("$tree/scripts/check-includes" 2>&1); then got=pass; else got=fail; fi
  if [ "$got" != "$expected" ]; then
    echo "$file including $included: expected $expected, got $got: $output"
    failures=$((failures + 1))
  fi
done <<'CASES'
scoring/contest.cpp platform/native/orva_log.h fail
window/main_form.cpp platform/win32/ole_text.h fail
plugin/exports.cpp platform/native/toolkit_headless.h fail
scoring/contest.h window/main_form.h fail
base/text.h platform/toolkit.h fail
platform/toolkit.h scoring/contest.h fail
platform/native/database_sqlite.cpp scoring/log_query.h fail
platform/win32/toolkit_win32.cpp window/main_form.h fail
import/adif_reader.cpp host/orva_host.h fail
scoring/contest.cpp platform/host_process.h pass
window/form_storage.h platform/settings_store.h pass
scoring/contest.h base/records.h pass
platform/native/database_sqlite.cpp platform/database.h pass
host/log_source.cpp platform/native/orva_log.h pass
tests/native/plugin_test.cpp plugin/exports.h pass
fuzz/exchange_record_fuzzer.cpp platform/native/orva_log.h pass
CASES
[ "$failures" -eq 0 ]
