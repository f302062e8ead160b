# libcurl for the Windows build: a static, HTTP-only build of Debian's own
# curl source made by scripts/lib/curl-mingw.sh (Debian ships no mingw
# libcurl). Included only by the cross tree; the host tree uses the system's
# libcurl through find_package(CURL).

set(TAVRIN_CURL_MINGW_PREFIX "${CMAKE_SOURCE_DIR}/build/deps/curl-mingw"
    CACHE PATH "Where scripts/lib/curl-mingw.sh installed the mingw libcurl")

set(_tavrin_curl_lib "${TAVRIN_CURL_MINGW_PREFIX}/lib/libcurl.a")
if(NOT EXISTS "${_tavrin_curl_lib}" OR
   NOT EXISTS "${TAVRIN_CURL_MINGW_PREFIX}/include/curl/curl.h")
  message(FATAL_ERROR
    "No mingw libcurl in ${TAVRIN_CURL_MINGW_PREFIX}. "
    "Run scripts/build, which builds it once and caches it there "
    "(or set TAVRIN_CURL_MINGW_PREFIX).")
endif()

if(NOT TARGET CURL::libcurl)
  add_library(CURL::libcurl STATIC IMPORTED)
  set_target_properties(CURL::libcurl PROPERTIES
    IMPORTED_LOCATION "${_tavrin_curl_lib}"
    INTERFACE_INCLUDE_DIRECTORIES "${TAVRIN_CURL_MINGW_PREFIX}/include"
    # Without it curl.h declares every function dllimport, and the link
    # fails looking for __imp__curl_easy_init.
    INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
    # What a static libcurl leaves for the final link (checked with nm -u):
    # winsock; advapi32 for the CryptoAPI hashes behind NTLM/digest auth;
    # bcrypt for BCryptGenRandom. No crypt32, wldap32 or normaliz: TLS, LDAP
    # and IDN are built out.
    INTERFACE_LINK_LIBRARIES "ws2_32;advapi32;bcrypt")
endif()
unset(_tavrin_curl_lib)
