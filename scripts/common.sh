# Shared by ./run, ./test and ./benchmark: installs what the build needs and builds into build/.

ZORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZORVANE_JOBS="${ZORVANE_JOBS:-2}"

ZORVANE_APT_UPDATED=0

# Installs the Debian packages that are missing (apt-get update once a run, then install -y).
ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  if [ "$ZORVANE_APT_UPDATED" -eq 0 ]; then
    $sudo apt-get update -qq
    ZORVANE_APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# The packages every build needs.
BUILD_PACKAGES=(cmake make g++ libgtest-dev libspng-dev qt6-base-dev)

# configure_and_build DIR [CMAKE_OPTION...]: configures once, then builds incrementally.
configure_and_build() {
  local dir="$1"
  shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ZORVANE_ROOT" -B "$dir" "$@"
  fi
  cmake --build "$dir" -j "$ZORVANE_JOBS"
}
