# The versions of the two programs: the one source of every version that the build writes, into
# CMake's project, both programs' version information and manifests, and the release ZIP's name.
set(TAVRIX_VERSION 2.14.0.4)
set(TAVRIX_VERSION_TEXT 2.14.0004)
set(TAVRIX_HELP_VERSION 1.0.0.0)
set(TAVRIX_HELP_VERSION_TEXT 1.00)
