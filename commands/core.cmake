target_sources(halvix_core PRIVATE
  commands/catalogue_queries.cpp
  commands/catalogue_settings.cpp
)
target_sources(halvix_core PRIVATE
  commands/datum_names.cpp
  commands/position_file.cpp
)
