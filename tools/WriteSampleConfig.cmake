# Points a new "Config.ini" at the sample catalog. An existing file holds the
# user's settings and is left alone.
if(NOT EXISTS "${CONFIG}")
  file(WRITE "${CONFIG}" "[Config]\r\nCatalogFile=${CATALOG}\r\nAutoOpen=1\r\n")
endif()
