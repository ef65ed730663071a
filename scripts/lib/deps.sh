# Installs the Debian packages that building and testing need. Sourced by scripts/deps,
# scripts/test and scripts/demo. Quiet when everything is already there.

PMX_DEB_PACKAGES=(
  cmake ninja-build g++ libgtest-dev libbenchmark-dev clang libclang-rt-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine wine64 fonts-wine fonts-liberation fonts-droid-fallback
  xvfb xauth imagemagick python3
)

# Prints the packages of PMX_DEB_PACKAGES that are not installed.
pmx_missing_packages() {
  local pkg status
  for pkg in "${PMX_DEB_PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == installed ]] || printf '%s\n' "$pkg"
  done
}

pmx_deps() {
  local missing
  mapfile -t missing < <(pmx_missing_packages)
  ((${#missing[@]} == 0)) && return 0

  echo "deps: installing ${missing[*]}"
  local sudo=()
  if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "deps: need root or sudo to install packages" >&2; return 1; }
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq || return 1
  "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null || return 1

  mapfile -t missing < <(pmx_missing_packages)
  if ((${#missing[@]} != 0)); then
    echo "deps: still missing after install: ${missing[*]}" >&2
    return 1
  fi
}
