#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks what the build installs and what its Debian package holds and declares.
#   check_package.sh install BUILD_DIR CMAKE   cmake --install into a scratch DESTDIR, then
#                                              checks the programs, the desktop entry, the icon
#                                              and the manual pages
#   check_package.sh deb BUILD_DIR CPACK       cpack -G DEB into a scratch folder, then checks
#                                              the control fields, the file list and, when
#                                              lintian is there, Debian's own checks; exits 77
#                                              (skipped) without dpkg-deb
set -euo pipefail

mode="$1"
build="$2"
tool="$3"
if [ "$mode" = deb ] && ! command -v dpkg-deb >/dev/null; then
    echo "SKIP: dpkg-deb is not installed"
    exit 77
fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The desktop entry must carry these lines exactly.
desktop_lines=(
    "Type=Application"
    "Name=Serial Expander Configuration"
    "Name[zh_CN]=八口串口扩展器配置工具"
    "Exec=expander-config"
    "Icon=expander-config"
    "Terminal=false"
    "Categories=Utility;Development;"
)

# The files below the prefix, as found in the package or the install tree.
expected_files=(
    bin/expander-config
    bin/expander-sim
    bin/expander-cli
    share/applications/expander-config.desktop
    share/icons/hicolor/scalable/apps/expander-config.svg
    share/doc/expander-config/copyright
    share/doc/expander-config/changelog.gz
)

# A manual page: gzip-compressed or plain, with a title line and a NAME entry that whatis can read.
check_manual_page() {
    local file="$1" name="$2" text
    if [[ "$file" == *.gz ]]; then
        gzip -t "$file" 2>/dev/null || { fail "$file is not a valid gzip file"; return; }
        text="$(gzip -dc "$file")"
    else
        text="$(cat "$file")"
    fi
    local upper="${name^^}"
    grep -q "^\.TH $upper 1 " <<<"$text" || fail "$file has no '.TH $upper 1' line"
    grep -A1 '^\.SH NAME' <<<"$text" | grep -q "^$name \\\\- " ||
        fail "$file has no NAME entry '$name \\- ...'"
}

check_install() {
    local root="$scratch/root" usr
    DESTDIR="$root" "$tool" --install "$build" --prefix /usr >"$scratch/install.log" 2>&1 ||
        { cat "$scratch/install.log" >&2; fail "cmake --install failed"; return; }
    usr="$root/usr"
    for f in "${expected_files[@]}"; do
        [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
    done
    for program in expander-config expander-sim expander-cli; do
        [ -x "$usr/bin/$program" ] || fail "/usr/bin/$program is not executable"
    done
    # The command-line tool runs where no display is: it must not need the widget or GUI library.
    if command -v readelf >/dev/null && [ -f "$usr/bin/expander-cli" ]; then
        ! readelf -d "$usr/bin/expander-cli" | grep -qE 'NEEDED.*libQt6(Widgets|Gui)' ||
            fail "/usr/bin/expander-cli needs the Qt widget or GUI library"
    fi

    local desktop="$usr/share/applications/expander-config.desktop"
    if [ -f "$desktop" ]; then
        head -n 1 "$desktop" | grep -qx '\[Desktop Entry\]' || fail "the desktop entry does not start with [Desktop Entry]"
        for line in "${desktop_lines[@]}"; do
            grep -qxF "$line" "$desktop" || fail "the desktop entry lacks the line: $line"
        done
        # What the entry names must be there: the program it starts and the icon it shows.
        local exec icon
        exec="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
        icon="$(sed -n 's/^Icon=//p' "$desktop")"
        [ -x "$usr/bin/$exec" ] || fail "the desktop entry starts '$exec', which is not in /usr/bin"
        [ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
            fail "the desktop entry shows the icon '$icon', which is not installed"
        if command -v desktop-file-validate >/dev/null; then
            desktop-file-validate --no-hints "$desktop" || fail "desktop-file-validate rejects the entry"
        fi
    fi

    local svg="$usr/share/icons/hicolor/scalable/apps/expander-config.svg"
    [ ! -f "$svg" ] || grep -q '<svg' "$svg" || fail "the icon is not an SVG image"

    for name in expander-config expander-sim expander-cli; do
        local page
        page="$(ls "$usr/share/man/man1/$name.1"* 2>/dev/null | head -n 1)"
        if [ -z "$page" ]; then
            fail "no manual page /usr/share/man/man1/$name.1[.gz]"
        else
            check_manual_page "$page" "$name"
        fi
    done
}

check_deb() {
    [ -f "$build/CPackConfig.cmake" ] || { fail "no CPackConfig.cmake in $build"; return; }
    "$tool" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
        { cat "$scratch/cpack.log" >&2; fail "cpack failed"; return; }
    local debs=("$scratch"/package/*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "cpack made no single .deb: ${debs[*]}"; return; }
    local deb="${debs[0]}"

    [ "$(dpkg-deb -f "$deb" Package)" = expander-config ] || fail "package name: $(dpkg-deb -f "$deb" Package)"
    [ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "section: $(dpkg-deb -f "$deb" Section)"
    [ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer field"
    [ -n "$(dpkg-deb -f "$deb" Version)" ] || fail "no Version field"
    [ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no Description field"

    # Depends: every runtime package named once as a whole word, and the fonts as alternatives.
    local depends
    depends="$(dpkg-deb -f "$deb" Depends)"
    echo "Depends: $depends"
    local -a clauses
    IFS=',' read -r -a clauses <<<"$depends"
    for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6svg6 qt6-qpa-plugins; do
        local found=0
        for clause in "${clauses[@]}"; do
            [[ "$clause" =~ ^[[:space:]]*"$package"([[:space:]]|\(|$) ]] && found=$((found + 1))
        done
        [ $found -eq 1 ] || fail "Depends names $package $found times, not once"
    done
    local fonts=0
    for clause in "${clauses[@]}"; do
        [[ "$clause" =~ fonts-noto-cjk[[:space:]]*\|[[:space:]]*fonts-wqy-microhei ]] && fonts=1
    done
    [ $fonts -eq 1 ] || fail "Depends lacks 'fonts-noto-cjk | fonts-wqy-microhei'"

    # The file list: everything expected, under /usr, nothing else, with the right modes.
    dpkg-deb -c "$deb" >"$scratch/contents"
    for f in "${expected_files[@]}"; do
        grep -qE " \./usr/$f\$" "$scratch/contents" || fail "not in the package: /usr/$f"
    done
    for name in expander-config expander-sim expander-cli; do
        grep -qE " \./usr/share/man/man1/$name\.1(\.gz)?\$" "$scratch/contents" ||
            fail "not in the package: /usr/share/man/man1/$name.1[.gz]"
    done
    local mode owner path
    while read -r mode owner _ _ _ path _; do
        case "$mode" in d*) continue ;; esac
        [ "$owner" = root/root ] || fail "$path is owned by $owner"
        case "$path" in
        ./usr/bin/*) [ "$mode" = -rwxr-xr-x ] || fail "$path has mode $mode" ;;
        ./usr/share/applications/* | ./usr/share/icons/hicolor/* | ./usr/share/man/man1/* | ./usr/share/doc/*)
            [ "$mode" = -rw-r--r-- ] || fail "$path has mode $mode" ;;
        *) fail "unexpected file in the package: $path" ;;
        esac
    done <"$scratch/contents"
    local count
    count="$(grep -vc '^d' "$scratch/contents")"
    [ "$count" -eq 10 ] || fail "the package holds $count files, not 10"

    # Debian's own checks, when lintian is installed: no errors.
    if command -v lintian >/dev/null; then
        lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 ||
            { cat "$scratch/lintian.log" >&2; fail "lintian reports errors"; }
        grep '^[EW]: ' "$scratch/lintian.log" || true
    fi
}

case "$mode" in
install) check_install ;;
deb) check_deb ;;
*) echo "usage: $0 install|deb BUILD_DIR TOOL" >&2; exit 2 ;;
esac

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
