# The install layout, as Debian lays a program out, and the Debian package
# built from it by CPack (scripts/package). Every library of ours is static,
# so nothing goes to lib/korvane/.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS rp_usuarios RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for share/korvane/reportes/ beside its bin/ folder to
# know it runs installed (platform/ctx/programa.h).
install(FILES ${kv_reportes} DESTINATION ${CMAKE_INSTALL_DATADIR}/korvane/reportes)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/rp_usuarios.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/menu/iconos/ICONKORVANE.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME rp_usuarios.svg)

# Manual page and changelog compressed as Debian wants them (no name or
# time stamp inside, so the package is the same every time).
find_program(KV_GZIP gzip REQUIRED)
set(kv_comprimidos)
foreach(par "rp_usuarios.1;rp_usuarios.1.gz" "changelog;changelog.gz")
  list(GET par 0 origen)
  list(GET par 1 destino)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/paquete/${destino}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/paquete
                     COMMAND ${KV_GZIP} -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/${origen} > ${CMAKE_BINARY_DIR}/paquete/${destino}
                     DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${origen} VERBATIM)
  list(APPEND kv_comprimidos ${CMAKE_BINARY_DIR}/paquete/${destino})
endforeach()
add_custom_target(kv_comprimidos ALL DEPENDS ${kv_comprimidos})
install(FILES ${CMAKE_BINARY_DIR}/paquete/rp_usuarios.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/paquete/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rp-usuarios)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rp-usuarios)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Equipo Korvane <desarrollo@korvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reporte de usuarios del sistema de gestión Korvane")
# The summary is the synopsis line; this, the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lista los usuarios del sistema por grupo de usuario, por unidad de negocio\n\
o por tarea del menú, en pantalla, en la impresora, en un PDF o en una\n\
planilla de cálculo (XLSX o CSV). Trabaja sobre SQL Server, Oracle o una\n\
base SQLite; tiene un modo sin ventana para guiones y tareas programadas.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# What the program links, as dpkg-shlibdeps finds it; the report fonts; and
# the ODBC driver manager (loaded on first use) with the drivers of the
# servers it reaches.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libodbc2, odbcinst, tdsodbc, libsqliteodbc")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
