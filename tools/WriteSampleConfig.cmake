# Points a new "Config.ini" at the sample catalog beside it, by its name
# alone: the viewer looks for it in its own folder, so a copy of the folder
# opens its own sample. An existing file holds the user's settings and is
# left alone.
if(NOT EXISTS "${CONFIG}")
  get_filename_component(name "${CATALOG}" NAME)
  file(WRITE "${CONFIG}" "[Config]\r\nCatalogFile=${name}\r\nAutoOpen=1\r\n")
endif()
