#!/usr/bin/env bash
# The review page's pure script part under Node, without a browser (pure.test.mjs).
# Without node it says so and exits with 77, which CTest counts as skipped.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v node >/dev/null; then
  echo "pure script tests not run: missing node"
  exit 77
fi
exec node --test "$here/pure.test.mjs"
