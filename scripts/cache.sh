# Sourced by the build scripts once `racine` is set: a compiler cache, when
# the machine has one, makes the build of a fresh clone quick. Paths are taken
# relative to the clone, and its folder is not hashed, so clones share it.
# Gives `lanceur`, the CMake arguments to add (none without a cache).
lanceur=()
if command -v ccache >/dev/null 2>&1; then
  lanceur=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$racine" CCACHE_NOHASHDIR=1
fi
