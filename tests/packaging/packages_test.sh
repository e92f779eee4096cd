#!/usr/bin/env bash
# The Debian packages as scripts/package makes them from a release build:
# lintian finds no error and no warning, and
# each package holds its files and depends on what it loads at run time.
# Usage: packages_test.sh SOURCE_DIR WORK_DIR VERSION
set -euo pipefail
SOURCE=$1
WORK=$2
VERSION=$3
export TESSARY_PACKAGE_NO_SETUP=1 TESSARY_PACKAGE_BUILD="$WORK/release"
"$SOURCE/scripts/package" "$WORK/debs"
cd "$WORK/debs"

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

lintian --fail-on error,warning tessary*.deb || fail "lintian reports errors or warnings"

contains() {
  dpkg-deb -c "$1" | awk '{print $6}' | grep -qx "$2" || fail "$1 lacks $2"
}
contains tessary-cli_*.deb ./usr/bin/tessary-cli
contains tessary-cli_*.deb ./usr/share/man/man1/tessary-cli.1.gz
contains tessary-cli_*.deb ./usr/share/bash-completion/completions/tessary-cli
contains tessary-service_*.deb ./usr/bin/tessary-service
contains tessary-service_*.deb ./usr/share/man/man1/tessary-service.1.gz
contains tessary-service_*.deb ./usr/lib/systemd/system/tessary-service.service
contains tessary-service_*.deb ./etc/default/tessary-service
dpkg-deb --ctrl-tarfile tessary-service_*.deb | tar -xO ./conffiles | grep -qx /etc/default/tessary-service \
  || fail "/etc/default/tessary-service is not a conffile"
dpkg-deb --fsys-tarfile tessary-service_*.deb | tar -xO ./usr/lib/systemd/system/tessary-service.service \
  | grep -qx "ExecStart=/usr/bin/tessary-service serve" || fail "the unit does not start /usr/bin/tessary-service"
if ls tessary_*.deb >/dev/null 2>&1; then
  contains tessary_*.deb ./usr/bin/tessary
  contains tessary_*.deb ./usr/share/man/man1/tessary.1.gz
  contains tessary_*.deb ./usr/share/applications/com.morvane.Tessary.desktop
  contains tessary_*.deb ./usr/share/metainfo/com.morvane.Tessary.metainfo.xml
  contains tessary_*.deb ./usr/share/icons/hicolor/48x48/apps/com.morvane.Tessary.png
  depends=$(dpkg-deb -f tessary_*.deb Depends)
  for needed in libqt6widgets6 qt6-wayland fonts-dejavu-core; do
    [[ "$depends" == *"$needed"* ]] || fail "tessary does not depend on $needed: $depends"
  done
else
  fail "no tessary package (was Qt found?)"
fi
for package in tessary tessary-cli tessary-service; do
  [[ "$(dpkg-deb -f ${package}_*.deb Version)" == "$VERSION" ]] || fail "$package is not version $VERSION"
  [[ "$(dpkg-deb -f ${package}_*.deb Depends)" == *libc6* ]] || fail "$package has no computed dependencies"
done
((failures == 0)) && echo "packages: all checks passed"
exit $((failures > 0))
