#!/usr/bin/env bash
# Fails when a relative link in README.md or docs/*.md points to a file that does
# not exist, or to a heading (#anchor) that a Markdown file does not have;
# lists each broken link with the file and line it is in.
set -uo pipefail
cd "$(dirname "$0")/.."

# The anchor a heading gets on GitHub: lower case, punctuation dropped, spaces as hyphens.
anchors() {
    sed -n 's/^#\{1,6\} \(.*\)$/\1/p' "$1" | tr '[:upper:]' '[:lower:]' |
        sed 's/[^[:alnum:] _-]//g; s/ /-/g'
}

bad=0
checked=0
for doc in README.md docs/*.md; do
    dir=$(dirname "$doc")
    while IFS=: read -r line link; do
        link=${link#*](}
        link=${link%)}
        link=${link%% *} # a link's "title" after a space is not part of the path
        case $link in http://* | https://* | mailto:*) continue ;; esac
        path=${link%%#*}
        anchor=${link#"$path"}
        anchor=${anchor#\#}
        target=$doc
        [ -n "$path" ] && target=$dir/$path
        checked=$((checked + 1))
        if [ ! -e "$target" ]; then
            echo "$doc:$line: $link: no such file $target" >&2
            bad=1
        elif [ -n "$anchor" ] && [[ $target == *.md ]] && ! anchors "$target" | grep -qxF -- "$anchor"; then
            echo "$doc:$line: $link: $target has no heading for #$anchor" >&2
            bad=1
        fi
    done < <(grep -noE '\]\([^)]+\)' "$doc")
done
[ $bad -eq 0 ] && echo "links: $checked relative links in README.md and docs/*.md resolve"
exit $bad
