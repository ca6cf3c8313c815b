# Every third-party library the project uses, found once for all subsystems.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(CURL REQUIRED)
find_package(ZLIB REQUIRED)
find_package(OpenSSL REQUIRED)
find_package(GTest REQUIRED)

pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
pkg_check_modules(PUGIXML REQUIRED IMPORTED_TARGET pugixml)
pkg_check_modules(LIBARCHIVE REQUIRED IMPORTED_TARGET libarchive)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)

if(LEXIVAR_BENCH)
  find_package(benchmark REQUIRED)
endif()

# Debian ships cpp-httplib compiled: the header must see the same feature
# defines as the shared library, so take both from its pkg-config file.
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
add_library(lexivar_httplib INTERFACE)
target_link_libraries(lexivar_httplib INTERFACE PkgConfig::HTTPLIB Threads::Threads OpenSSL::SSL OpenSSL::Crypto ZLIB::ZLIB)
