#!/usr/bin/env bash
# What scripts/demo.sh builds reaches the program, its pictures and its manual, and nothing of
# the tests or benchmarks; and the sensor type codes the demo takes are listed with their names
# by `somatrix --help` and in the README. Usage: demo_build_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
read -r -a targets <<<"$("$source_dir/scripts/demo.sh" --print-targets)"
inputs=$(ninja -C "$build_dir" -t inputs "${targets[@]}")
status=0
for needed in src/app/main.cpp assets/pictures/ecg.svg assets/pictures/company.svg \
    docs/manual/manual.html; do
    if ! grep -q "$needed\$" <<<"$inputs"; then
        echo "the demo's build does not make what needs $needed" >&2
        status=1
    fi
done
if unwanted=$(grep -E '(^|/)(tests|bench|fuzz)/|gtest|gmock|benchmark' <<<"$inputs"); then
    echo "the demo's build would make tests or benchmarks:" >&2
    head -5 <<<"$unwanted" >&2
    status=1
fi
codes=$(QT_QPA_PLATFORM=offscreen "$build_dir/src/somatrix" --help | grep -E '^  [0-9A-F]{2}  ')
if [[ $(wc -l <<<"$codes") -ne 14 ]]; then
    echo "somatrix --help does not list the fourteen sensor codes:" >&2
    echo "$codes" >&2
    status=1
fi
while read -r code name; do
    if ! grep -qF "| \`$code\` | $name |" "$source_dir/README.md"; then
        echo "the README does not list $code $name" >&2
        status=1
    fi
done <<<"$codes"
exit $status
