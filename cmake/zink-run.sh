#!/bin/sh
# Runs a command on Mesa's Zink (OpenGL on Vulkan) over lavapipe, the way
# X-Plane 12 gives plug-ins their OpenGL, with a runtime folder of its own
# that is removed afterwards: ./zink-run.sh PROGRAM [ARGUMENTS...]
# VXR_GL_RENDERER tells the tests which renderer they must find.
dir=$(mktemp -d "${TMPDIR:-/tmp}/vxr-zink.XXXXXX") || exit 1
MESA_LOADER_DRIVER_OVERRIDE=zink LIBGL_ALWAYS_SOFTWARE=1 XDG_RUNTIME_DIR=$dir VXR_GL_RENDERER=zink "$@"
code=$?
rm -rf "$dir"
exit $code
