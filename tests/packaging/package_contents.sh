#!/usr/bin/env bash
# What the Debian package holds and declares: every piece at its place in the
# file system hierarchy and nothing outside it, its dependencies, no lintian
# error, and systemd units that verify and are confined.
#   package_contents.sh PACKAGE_DIR WORK_DIR
set -uo pipefail
package=$(ls "$1"/rx8240-driver_*_*.deb 2>/dev/null | head -n1)
work=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ -n "$package" ] || { echo "FAIL: no package in $1"; exit 1; }
rm -rf "$work" && mkdir -p "$work"

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
version=$(dpkg-deb -f "$package" Version)
bundle=usr/lib/$multiarch/tarnvale/ColorOptionsPDE.plugin
files=$(dpkg-deb -c "$package" | awk '{print $6}' | sed 's|^\./||')
# systemd's directories as the build found them (packaging/CMakeLists.txt):
# /lib/systemd/system on Debian 12, /usr/lib/systemd/system on later ones.
systemd_dir() { local d; d=$(pkg-config --variable="$1" systemd 2>/dev/null); echo "${d:-$2}"; }
unitdir=$(systemd_dir systemdsystemunitdir /lib/systemd/system)
sysusersdir=$(systemd_dir sysusersdir /usr/lib/sysusers.d)
tmpfilesdir=$(systemd_dir tmpfilesdir /usr/lib/tmpfiles.d)
unitdir=${unitdir#/} sysusersdir=${sysusersdir#/} tmpfilesdir=${tmpfilesdir#/}

# Every piece at its place.
for path in usr/bin/pdehost usr/bin/rx8240-profiles \
    usr/libexec/tarnvale/ColorProfileService usr/libexec/tarnvale/rx8240Helper \
    $bundle/libColorOptionsPDE.so $bundle/Resources/PDEMain.ui $bundle/Resources/ProfileControl.ui \
    $bundle/Resources/rx8240.ppd $bundle/Resources/translations/ColorOptionsPDE_de.qm \
    usr/share/ppd/tarnvale/rx8240.ppd usr/lib/cups/filter/rx8240-colour \
    usr/share/tarnvale/rx8240/icons/fileExist8240.icns \
    usr/share/color/icc/tarnvale/rx8240/ \
    $unitdir/rx8240-profile.socket $unitdir/rx8240-profile.service \
    $sysusersdir/rx8240-driver.conf $tmpfilesdir/rx8240-driver.conf \
    usr/share/man/man1/pdehost.1.gz usr/share/man/man1/rx8240-profiles.1.gz \
    usr/share/man/man8/ColorProfileService.8.gz usr/share/man/man8/rx8240Helper.8.gz \
    usr/share/doc/rx8240-driver/copyright usr/share/doc/rx8240-driver/changelog.gz \
    usr/share/applications/rx8240-colour-settings.desktop \
    usr/share/icons/hicolor/scalable/apps/rx8240-colour-settings.svg; do
  grep -qxF "$path" <<<"$files" || fail "missing $path"
done
# Nothing outside the hierarchy's places for a package.
outside=$(grep -vE "^(usr/(bin|lib|libexec|share)/|$unitdir/|(usr|lib|lib/systemd)/\$|\$)" <<<"$files")
[ -z "$outside" ] || fail "outside the package's places: $outside"
grep -qE '^(Library|Applications)|/usr/local/' <<<"$files" && fail "macOS or local paths in the package"

# Its dependencies, computed from the programs.
depends=$(dpkg-deb -f "$package" Depends)
for dep in libcups2 libsnmp40 libqt6widgets6 libqt6uitools6 libpugixml1v5 libavahi-client3 qt6-qpa-plugins; do
  grep -q "\b$dep\b" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
control=$(dpkg-deb --ctrl-tarfile "$package" | tar -t)
for script in postinst prerm postrm; do
  grep -qx "./$script" <<<"$control" || fail "no $script"
done

# lintian: no error (warnings are printed for the record).
if command -v lintian >/dev/null; then
  report=$(lintian --tag-display-limit 0 "$package" 2>&1 | grep -v 'running with root privileges')
  [ -n "$report" ] && echo "lintian: $report"
  grep -q '^E:' <<<"$report" && fail "lintian reports errors"
else
  fail "lintian is not installed (scripts/install-deps)"
fi

# The units verify in the unpacked tree, and the service is confined.
dpkg-deb -x "$package" "$work/root"
units=$work/root/$unitdir
# The targets the units hook into come from the machine's systemd.
cp -n /$unitdir/*.target /$unitdir/*.slice "$units/" 2>/dev/null
grep -qx 'ExecStart=/usr/libexec/tarnvale/ColorProfileService' "$units/rx8240-profile.service" \
  || fail "ExecStart is not the installed service: $(grep ExecStart "$units/rx8240-profile.service")"
verify=$(systemd-analyze verify --man=no --root="$work/root" "/$unitdir/rx8240-profile.socket" \
  "/$unitdir/rx8240-profile.service" 2>&1)
[ -z "$verify" ] || fail "systemd-analyze verify: $verify"
exposure=$(systemd-analyze security --offline=true --root="$work/root" rx8240-profile.service 2>/dev/null \
  | sed -n 's/.*Overall exposure level for rx8240-profile.service: \([0-9.]*\).*/\1/p')
echo "systemd-analyze security: exposure ${exposure:-?}"
awk -v e="${exposure:-99}" 'BEGIN { exit !(e <= 2.0) }' || fail "exposure ${exposure:-?} above 2.0"

# Every installed program follows the command-line conventions: --help and
# --version on standard output with status 0 and nothing on standard error
# (Qt's own notes included: run as root with no XDG_RUNTIME_DIR, as an
# administrator's shell may be), a usage error on standard error with status 2.
export QT_QPA_PLATFORM=offscreen
unset XDG_RUNTIME_DIR
for program in usr/bin/pdehost usr/bin/rx8240-profiles usr/libexec/tarnvale/ColorProfileService \
    usr/libexec/tarnvale/rx8240Helper; do
  name=$(basename "$program")
  out=$("$work/root/$program" --help 2>"$work/stderr"); status=$?
  [ $status -eq 0 ] && grep -q "^usage: $name" <<<"$out" || fail "$name --help: status $status, output: $out"
  [ -s "$work/stderr" ] && fail "$name --help wrote to standard error: $(cat "$work/stderr")"
  out=$("$work/root/$program" --version 2>/dev/null); status=$?
  [ $status -eq 0 ] && [ "$out" = "$name $version" ] || fail "$name --version: status $status, output: $out"
  err=$("$work/root/$program" --no-such-option 2>&1 >/dev/null); status=$?
  out=$("$work/root/$program" --no-such-option 2>/dev/null)
  [ $status -eq 2 ] && [ -n "$err" ] && [ -z "$out" ] || fail "$name with a bad option: status $status, stderr: $err, stdout: $out"
done

[ "$failures" -eq 0 ] && echo "package_contents: $(wc -l <<<"$files") entries checked"
exit $((failures > 0))
