# cmake -DSRC=a -DDST=b -P copy_if_missing.cmake: copies only when b does not exist, so that
# a city database the user has edited beside the built program is never overwritten.
if(NOT EXISTS "${DST}")
  file(COPY_FILE "${SRC}" "${DST}")
endif()
