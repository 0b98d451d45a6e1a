#!/usr/bin/env bash
# The review page in a real browser: the program writes the page of the bundled example and of a
# generated 2,000-part project, and review.test.mjs drives Debian's Chromium through them.
# Usage: run_browser_tests.sh TARNWICK_PROGRAM
# Needs node, the packages of tests/review (npm ci --prefix tests/review) and /usr/bin/chromium
# (or CHROMIUM=...). Without them it says so and exits with 77, which CTest counts as skipped,
# unless TARNWICK_REQUIRE_BROWSER is set (CI sets it): then that is a failure.
set -euo pipefail
program=$(realpath "${1:?the Tarnwick program}")
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
chromium=${CHROMIUM:-/usr/bin/chromium}

missing=""
command -v node >/dev/null || missing="node"
[ -d "$here/node_modules/playwright-core" ] || missing="$missing, the packages (npm ci --prefix tests/review)"
[ -x "$chromium" ] || missing="$missing, $chromium"
if [ -n "$missing" ]; then
  echo "browser tests not run: missing ${missing#, }"
  [ -n "${TARNWICK_REQUIRE_BROWSER:-}" ] && exit 1
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The bundled example, as its own command file sets it up.
mkdir "$work/example"
cp "$top/examples/demo_board.lpf" "$top/examples/Tarnwick.ini" "$top/examples/font.xml" "$work/example/"
(cd "$work/example" && "$program" --check --review >/dev/null 2>&1) || [ $? = 2 ]
node "$here/review.test.mjs" "$work/example/demo_board.review.html"

# The check demo: every kind of finding, errors and notes, a footprint's finding on two parts.
mkdir "$work/demo"
cp "$top/examples/check_demo.lpf" "$top/examples/check_demo.ini" "$top/examples/font.xml" "$work/demo/"
(cd "$work/demo" && "$program" -Icheck_demo.ini --review check_demo >/dev/null 2>&1)
node "$here/review.test.mjs" "$work/demo/check_demo.review.html"

# A generated project of 2,000 parts on both sides, its report in mils (format 2), with an
# information text full of markup characters that the page must show as text and Cyrillic texts
# in a single-byte code page.
mkdir "$work/panel"
python3 "$top/bench/generate_project.py" 2000 "$work/panel/panel.lpf"
first=$(grep -m1 '^part: ' "$work/panel/panel.lpf" | cut -d' ' -f2)
printf -- '-F 2 Notes\n-I %s "<b>bold</b> & \\"quoted\\" </script><!--" 0\n' "$first" >"$work/panel/panel.ini"
# Windows-1251 bytes in some designators and values ("ТС1", "КТ315"), read with --review-encoding.
sed -i -e 's/^part: Q\([0-9]*[05]\)$/part: \xd2\xd1\1/' -e 's/^value: "BAT54"$/value: "\xca\xd2315"/' "$work/panel/panel.lpf"
(cd "$work/panel" && "$program" -Ipanel.ini --review=panel.html --review-encoding=windows-1251 panel >/dev/null 2>&1)
node "$here/review.test.mjs" "$work/panel/panel.html"
