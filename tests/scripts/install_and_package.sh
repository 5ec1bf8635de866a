#!/usr/bin/env bash
# install_and_package.sh BUILD_DIR: installs the build into a scratch prefix and checks the list
# of files, the desktop entry (desktop-file-validate), the metainfo (appstreamcli validate
# --no-net), the MIME types (update-mime-database), the installed programs' --version and where
# an installed program keeps its palettes; then
# makes the Debian package (cpack -G DEB) and checks its contents and its dependencies.
# Exits 77 (skipped) when a tool is missing; ./test installs them.
set -euo pipefail
build=$(realpath "$1")
for tool in desktop-file-validate appstreamcli update-mime-database dpkg-deb dpkg-shlibdeps cpack; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is missing: skipped"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=io.github.zorvane.Zorvane
# The desktop program's files, in a build with it (ZORVANE_GUI).
gui=0
[ -f "$build/src/app/qt/zorvane" ] && gui=1
expected=$(
  {
    echo "bin/zorvane-cli"
    echo "bin/zorvane-sample"
    echo "share/bash-completion/completions/zorvane-cli"
    echo "share/man/man1/zorvane-cli.1"
    echo "share/man/man1/zorvane-sample.1"
    echo "share/mime/packages/$id.xml"
    if [ "$gui" = 1 ]; then
      echo "bin/zorvane"
      echo "share/applications/$id.desktop"
      echo "share/icons/hicolor/256x256/apps/$id.png"
      echo "share/icons/hicolor/48x48/apps/$id.png"
      echo "share/icons/hicolor/scalable/apps/$id.svg"
      echo "share/man/man1/zorvane.1"
      echo "share/metainfo/$id.metainfo.xml"
    fi
  } | LC_ALL=C sort
)

cmake --install "$build" --prefix "$work/prefix" >/dev/null
installed=$(cd "$work/prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$installed" != "$expected" ]; then
  echo "FAILED: installed files differ:"
  diff <(echo "$expected") <(echo "$installed") || true
  exit 1
fi
if [ "$gui" = 1 ]; then
  desktop-file-validate "$work/prefix/share/applications/$id.desktop"
  appstreamcli validate --no-net "$work/prefix/share/metainfo/$id.metainfo.xml" >/dev/null
fi
cp -r "$work/prefix/share/mime" "$work/mime"
update-mime-database "$work/mime" 2>/dev/null
grep -q '^application/x-pacgen-archive:\*\.pfp$' "$work/mime/globs"
grep -q '^image/x-pacgen-sprite:\*\.shp$' "$work/mime/globs"
programs="zorvane-cli zorvane-sample"
[ "$gui" = 1 ] && programs="zorvane $programs"
for program in $programs; do
  version=$("$work/prefix/bin/$program" --version)
  [ "$version" = "$program 2.4.0" ] || { echo "FAILED: $program --version: $version"; exit 1; }
done
# An installed program keeps its palettes in the user's data folder, not beside itself.
"$work/prefix/bin/zorvane-sample" "$work/DATA" >/dev/null
HOME="$work/home" XDG_DATA_HOME='' XDG_CONFIG_HOME='' \
  "$work/prefix/bin/zorvane-cli" --data "$work/DATA" extract pal --all >/dev/null
if [ ! -f "$work/home/.local/share/Zorvane/DAY.RGB" ] || [ -e "$work/prefix/bin/DAY.RGB" ]; then
  echo "FAILED: the installed zorvane-cli did not keep its palettes in ~/.local/share/Zorvane"
  exit 1
fi

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null)
package=$(ls "$work"/package/*.deb)
echo "$(basename "$package"):"
dpkg-deb -c "$package" | awk '{print $6}' | grep -v '/$' | sed 's|^\./usr/||' | LC_ALL=C sort >"$work/contents"
cat "$work/contents"
if [ "$(cat "$work/contents")" != "$expected" ]; then
  echo "FAILED: the package's contents differ from the installation"
  exit 1
fi
depends=$(dpkg-deb -f "$package" Depends)
echo "Depends: $depends"
libraries="libc6 libstdc++6 libspng0"
[ "$gui" = 1 ] && libraries="$libraries libqt6widgets6"
for library in $libraries; do
  [[ "$depends" == *"$library"* ]] || { echo "FAILED: no $library in Depends"; exit 1; }
done
