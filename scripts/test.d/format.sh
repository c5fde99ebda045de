#!/usr/bin/env bash
# Checks that the project's C++ sources follow .clang-format; with --fix, rewrites the ones that
# drift instead. Sources are the files git knows of (tracked or new, not ignored), so files others
# add are checked too; code from elsewhere (googletest comes from /usr/src) is never in the tree.
# Usage: format.sh [BUILD_ROOT] | format.sh --fix
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# Pinned: another clang-format version formats some constructs differently.
clang_format="${CLANG_FORMAT:-clang-format-14}"
fix=0
[ "${1:-}" = "--fix" ] && fix=1

cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- \
        '*.cpp' '*.cc' '*.c' '*.h' '*.hpp' '*.inl' | sort -u)
else
    mapfile -t sources < <(find . -path ./build -prune -o -path './build*' -prune -o -type f \
        \( -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.h' -o -name '*.hpp' -o -name '*.inl' \) \
        -print | sed 's|^\./||' | sort)
fi
# A file listed by git but deleted in the work tree is not there to check.
present=()
for f in "${sources[@]}"; do
    [ -f "$f" ] && present+=("$f")
done
if [ ${#present[@]} -eq 0 ]; then
    echo "format: no sources found" >&2
    exit 1
fi

if [ $fix -eq 1 ]; then
    printf '%s\0' "${present[@]}" | xargs -0 "$clang_format" -i --style=file
    echo "format: ${#present[@]} files formatted with $("$clang_format" --version | grep -o 'version [0-9.]*')"
    exit 0
fi

# One run over all files; it names each place that differs as FILE:LINE:COL: error: ...
if report="$("$clang_format" --dry-run -Werror --style=file "${present[@]}" 2>&1)"; then
    echo "format: ${#present[@]} files follow .clang-format"
    exit 0
fi
mapfile -t drifting < <(sed -nE 's/^(.+):[0-9]+:[0-9]+: error: .*/\1/p' <<<"$report" | sort -u)
if [ ${#drifting[@]} -eq 0 ]; then
    echo "$report" >&2
    echo "format: $clang_format failed" >&2
    exit 1
fi
printf 'format: %s differs from .clang-format\n' "${drifting[@]}"
echo "format: ${#drifting[@]} of ${#present[@]} files drift; 'make format' fixes them"
exit 1
