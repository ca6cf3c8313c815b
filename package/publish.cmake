# Lays the package out where the download server serves it: the address's
# second-to-last segment is the package's MD5, which the downloaders check,
# and the product's fixed address redirects there.
#   cmake -DPACKAGE=<LexivarSetup.exe> -DOUT_DIR=<folder> -P publish.cmake
file(MD5 ${PACKAGE} md5)
set(www ${OUT_DIR}/www)
file(REMOVE_RECURSE ${www}/download_silent)
file(MAKE_DIRECTORY ${www}/download_silent/${md5})
file(COPY_FILE ${PACKAGE} ${www}/download_silent/${md5}/LexivarSetup.exe)
# Quoted for nginx, so a build folder with blanks in its name still works.
string(REPLACE "\\" "\\\\" quoted_www "${www}")
string(REPLACE "\"" "\\\"" quoted_www "${quoted_www}")
file(WRITE ${OUT_DIR}/package.md5 "${md5}\n")
file(WRITE ${OUT_DIR}/nginx-locations.conf
"# Generated with the package; include inside a server block.
location = /software/364 {
    return 302 /download_silent/${md5}/LexivarSetup.exe;
}
location /download_silent/ {
    root \"${quoted_www}\";
    types { }
    default_type application/octet-stream;
}
")
