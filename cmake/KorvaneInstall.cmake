# The installed layout, chosen when `cmake --install` runs (the prefix is known only then): under
# a system prefix (/usr, /usr/local) the program folder is PREFIX/lib/korvane as the FHS asks;
# under any other prefix it stays the self-contained PREFIX/KORVANE. Either way PREFIX/bin/korvane
# is a relative symlink to the program: the program finds its folder through /proc/self/exe,
# which names the link's target, so the symlink needs no wrapper.
install(CODE [[
  if(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/?$")
    set(KORVANE_FOLDER "lib/korvane")
  else()
    set(KORVANE_FOLDER "KORVANE")
  endif()
]])
# Expanded by the install script, after the rule above has set it.
set(KORVANE_INSTALL_FOLDER "\${KORVANE_FOLDER}")
install(CODE [[
  set(_bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(MAKE_DIRECTORY "${_bin}")
  file(CREATE_LINK "../${KORVANE_FOLDER}/korvane" "${_bin}/korvane" SYMBOLIC)
  message(STATUS "Installing: ${_bin}/korvane -> ../${KORVANE_FOLDER}/korvane")
]])
