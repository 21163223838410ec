# Writes SetupDat/setup.ini with the installation sign: the version and a
# digest of the support files, so that every change of them counts as a new
# installation and is copied into the host's data root at the next start.
# Arguments: SOURCE_DIR (the resources folder), OUTPUT, VERSION.

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/SetupDat/*)
list(REMOVE_ITEM files SetupDat/setup.ini)
list(SORT files)
set(digests "")
foreach(file IN LISTS files)
  file(MD5 ${SOURCE_DIR}/${file} digest)
  string(APPEND digests "${file}:${digest};")
endforeach()
string(MD5 total "${digests}")
string(SUBSTRING ${total} 0 12 short)
file(WRITE ${OUTPUT}.tmp "; Sign of the installed support files; a new sign makes the program\n"
                         "; copy them into the data root again.\n"
                         "[INSTALL]\nSIGN=${VERSION}-${short}\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
