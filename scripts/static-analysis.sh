#!/usr/bin/env bash
# Static analysis of the program's code (not its tests, fuzz targets or benchmarks):
# clang-tidy with the checks of .clang-tidy, then cppcheck with the suppressions in
# scripts/static-analysis/. Any finding of either fails the script.
#   scripts/static-analysis.sh [BUILD]
# Compile commands and Qt's generated headers come from BUILD, a tree that ./test.sh has
# built (CI passes build/); without it, from a tree of its own, build-analysis/, in which
# only the generated headers are made.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh --analysis
build="${1:-build-analysis}"
folders=(runtime serial chart widgets app tools recorder assets)

if [ ! -f "$build/compile_commands.json" ]; then
  # The moc headers the sources include, without building the libraries they belong to.
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DONDRIX_TESTS=OFF \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_GLOBAL_AUTOGEN_TARGET=ON \
    -DCMAKE_AUTOGEN_ORIGIN_DEPENDS=OFF >/dev/null
  cmake --build "$build" -j2 --target autogen
fi

run_tidy=$(command -v run-clang-tidy-14 || command -v run-clang-tidy)
pattern="$PWD/($(IFS='|'; echo "${folders[*]}"))/[^/]*\\.cpp\$"
echo "== clang-tidy"
# -Wconversion in the compile commands is GCC's; clang reads it as sign changes too, which
# the code does not hold to, so clang-tidy's compiler leaves it to GCC.
"$run_tidy" -j2 -quiet -extra-arg=-Wno-conversion -p "$build" "$pattern" >"$build/clang-tidy.log" 2>&1 || true
# run-clang-tidy's exit status does not tell a finding from a crash in every version: the
# log decides, with any line that names a finding or a failed run.
if sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E '(warning|error): |^Error while processing'; then
  echo "clang-tidy: findings above (whole log in $build/clang-tidy.log)" >&2
  exit 1
fi

echo "== cppcheck"
mkdir -p "$build/cppcheck"
cppcheck --std=c++20 --library=qt --library=posix --library=gnu \
  --library=scripts/static-analysis/qt-extra.cfg \
  --suppressions-list=scripts/static-analysis/cppcheck-suppressions.txt --inline-suppr \
  --enable=warning,style,performance,portability --error-exitcode=1 --quiet -j2 \
  --cppcheck-build-dir="$build/cppcheck" -I . \
  --template='{file}:{line}:{column}: {severity}: {message} [{id}]' "${folders[@]}"
echo "Static analysis: no findings."
