# The Windows side: the toolbar DLL, the browser stand-in and the tests that run under Wine.

add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800 NOMINMAX STRICT)
# No MinGW runtime DLL may be needed beside the toolbar: everything is linked in.
add_link_options(-static -static-libgcc -static-libstdc++)
# Each function and object in a section of its own, so the DLL's link keeps only what is reached.
add_compile_options(-ffunction-sections -fdata-sections)

set(TEXTARO_OUT ${PROJECT_SOURCE_DIR}/out/${TEXTARO_ARCH_DIR})
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${TEXTARO_OUT})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${TEXTARO_OUT})

set(textaro_system_libs
    comctl32 ole32 oleaut32 uuid wininet shlwapi gdi32 user32 advapi32 version shell32)

get_property(shell_sources GLOBAL PROPERTY TEXTARO_SHELL_SOURCES)
add_library(textaro_shell STATIC ${shell_sources})
target_link_libraries(textaro_shell PUBLIC textaro_core ${textaro_system_libs})

# Resources: the type library is compiled from the .idl, the manifest names this build's
# processor, and the rest is taken from res/ as it stands.
set(res ${PROJECT_SOURCE_DIR}/res)
set(gen ${CMAKE_BINARY_DIR}/res)
file(MAKE_DIRECTORY ${gen})
if(TEXTARO_ARCH_DIR STREQUAL "x64")
  set(TEXTARO_MANIFEST_ARCH amd64)
  set(widl_stdole /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
  set(TEXTARO_MANIFEST_ARCH x86)
  set(widl_stdole /usr/lib/i386-linux-gnu/wine/i386-windows)
endif()
configure_file(${res}/TextaroBar.manifest.in ${gen}/TextaroBar.manifest @ONLY)
configure_file(${res}/TextaroVersion.h.in ${gen}/TextaroVersion.h @ONLY)
add_custom_command(
  OUTPUT ${gen}/TextaroBar.tlb
  COMMAND ${TEXTARO_WIDL} -I/usr/include/wine/wine/windows -L ${widl_stdole}
          -t -o ${gen}/TextaroBar.tlb ${res}/TextaroBar.idl
  DEPENDS ${res}/TextaroBar.idl
  COMMENT "Type library TextaroBarLib")
set_source_files_properties(${res}/TextaroBar.rc PROPERTIES OBJECT_DEPENDS
  "${gen}/TextaroBar.tlb;${gen}/TextaroBar.manifest;${gen}/TextaroVersion.h;${res}/TextaroBar.rgs;${res}/bitmap215.bmp;${res}/bitmap221.bmp;${res}/bitmap231.bmp;${res}/bitmap233.bmp;${res}/bitmap237.bmp;${res}/contacts.bmp;${res}/contact.bmp;${res}/progress.avi")

add_library(TextaroBar SHARED
  ${PROJECT_SOURCE_DIR}/band/Exports.cpp
  ${PROJECT_SOURCE_DIR}/band/Terminate.cpp
  ${PROJECT_SOURCE_DIR}/band/TextaroBar.def
  ${res}/TextaroBar.rc)
set_target_properties(TextaroBar PROPERTIES PREFIX "" OUTPUT_NAME TextaroBar)
target_include_directories(TextaroBar PRIVATE ${gen} ${res})
target_link_libraries(TextaroBar PRIVATE textaro_shell)
# The map shows what each archive (the static C++ runtime above all) puts into the DLL.
target_link_options(TextaroBar PRIVATE -Wl,--gc-sections -Wl,-Map=${CMAKE_BINARY_DIR}/TextaroBar.map)
if(TEXTARO_ARCH_DIR STREQUAL "x86")
  # The exports are __stdcall; the .def names them undecorated, as COM looks them up.
  target_link_options(TextaroBar PRIVATE -Wl,--enable-stdcall-fixup)
endif()
# The DLL ships without its symbols; they are kept beside it, linked by name, where a debugger
# looks for them. The installer takes only the DLL.
set(dll_symbols ${TEXTARO_OUT}/TextaroBar.dll.debug)
add_custom_command(TARGET TextaroBar POST_BUILD
  COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:TextaroBar> ${dll_symbols}
  COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:TextaroBar>
  COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${dll_symbols} $<TARGET_FILE:TextaroBar>
  VERBATIM)

add_subdirectory(host)
add_subdirectory(tests/win)

# Whole-module checks: what the DLL exports and imports, registration through regsvr32, and
# the browser stand-in loading the registered toolbar.
if(TEXTARO_ARCH_DIR STREQUAL "x64")
  set(registry_view 64)
else()
  set(registry_view 32)
endif()
add_test(NAME dll_exports_and_imports
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-dll.sh ${TEXTARO_OUT}/TextaroBar.dll)
add_test(NAME regsvr32_registration
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-registration.sh ${TEXTARO_OUT}/TextaroBar.dll
                 ${registry_view})
add_test(NAME host_loads_toolbar
         COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/host-loads-toolbar.sh ${TEXTARO_OUT})
set_tests_properties(regsvr32_registration host_loads_toolbar PROPERTIES
  FIXTURES_REQUIRED wine_prefix RUN_SERIAL TRUE TIMEOUT 300)

# The installer carries the DLLs of both presets; its check runs in a Wine prefix of its own,
# made fresh for each run: 32-bit for the x86 preset, 64-bit for the x64 one.
add_test(NAME installer_build COMMAND ${PROJECT_SOURCE_DIR}/installer/build.sh)
set_tests_properties(installer_build PROPERTIES FIXTURES_SETUP installer RUN_SERIAL TRUE TIMEOUT 900)
add_test(NAME installer_under_wine
         COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/installer.sh
                 ${PROJECT_SOURCE_DIR}/out/TextaroBar-setup-${PROJECT_VERSION}.exe
                 ${CMAKE_BINARY_DIR}/installer-prefix ${TEXTARO_ARCH_DIR})
set_tests_properties(installer_under_wine PROPERTIES
  FIXTURES_REQUIRED installer RUN_SERIAL TRUE TIMEOUT 300)

# Benchmarks that need the real client under Wine; scripts/bench.sh runs them.
add_executable(send_bench ${PROJECT_SOURCE_DIR}/bench/send_bench.cpp)
target_link_libraries(send_bench PRIVATE win_test_support)
set_target_properties(send_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_executable(toolbar_open_bench ${PROJECT_SOURCE_DIR}/bench/toolbar_open_bench.cpp)
target_link_libraries(toolbar_open_bench PRIVATE win_test_support)
set_target_properties(toolbar_open_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
