#!/usr/bin/env bash
# The include check run on small trees of one include each, made in a
# temporary git repository: it must refuse every include out of its layer,
# above all a platform implementation reached from the contest logic, an
# include between the host's wings that runs back up or across, and a host
# file in no wing, and let every include within the layers pass. A tree it
# cannot list, or one with no source in it, must fail it with a reason.
#
#   tests/check_includes_test.sh <path of scripts/check-includes>
set -euo pipefail
script=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

# Empties the tree but for the check itself and the folders named.
new_tree() {
  rm -rf "${tree:?}"/* "$tree"/.git
  mkdir -p "$tree/scripts" "$@"
  cp "$script" "$tree/scripts/check-includes"
}

failures=0
# file, the header it includes, pass or fail
while read -r file included expected; do
  new_tree "$tree/$(dirname "$file")"
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
import/adif_reader.cpp host/system/console.h fail
host/system/console.cpp host/logs/log_source.h fail
host/logs/log_source.cpp host/run/options.h fail
host/run/options.h host/drive/drive_log.h fail
host/run/options.h host/summary/summary.h fail
host/drive/drive_log.h host/cli/command_line.h fail
host/tools/explain.cpp host/cli/command_line.h fail
host/summary/summary_mode.cpp host/tools/explain.h fail
host/tools/explain.cpp host/summary/summary.h fail
host/drive/drive_log.cpp host/tools/reference_tools.h fail
host/cli/orva_host.cpp tests/test_support.h fail
host/orva_host.cpp base/text.h fail
platform/win32/toolkit_win32.cpp platform/native/orva_log.h fail
fuzz/log_import_fuzzer.cpp bench/sample_log.h fail
scoring/contest.cpp platform/host_process.h pass
window/form_storage.h platform/settings_store.h pass
scoring/contest.h base/records.h pass
platform/native/database_sqlite.cpp platform/database.h pass
host/logs/log_source.cpp platform/native/orva_log.h pass
host/logs/open_log.h host/system/host_failure.h pass
host/logs/log_source.cpp host/logs/sqlite_logs.h pass
host/run/options.h host/logs/log_source.h pass
host/drive/drive_log.h host/run/options.h pass
host/summary/summary_mode.cpp host/logs/scored_rows.h pass
host/cli/orva_host.cpp host/drive/drive_log.h pass
host/cli/orva_host.cpp host/summary/summary_mode.h pass
tests/native/summary_test.cpp host/summary/summary.h pass
tests/native/plugin_test.cpp plugin/exports.h pass
fuzz/exchange_record_fuzzer.cpp platform/native/orva_log.h pass
CASES

# With nothing to read, the check must not pass: outside a git checkout (the
# listing fails, whatever sources lie there) and in a checkout of no source.
for checkout in none empty; do
  new_tree "$tree/base"
  if [ "$checkout" = none ]; then
    printf '#include "base/failure.h"\n' >"$tree/base/text.h"
  else
    git -C "$tree" init -q
    git -C "$tree" add -A
  fi
  if output=$(GIT_CEILING_DIRECTORIES=$(dirname "$tree") "$tree/scripts/check-includes" 2>&1) ||
    [ -z "$output" ]; then
    echo "a tree with $checkout checkout: expected a failure with its reason, got: $output"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
