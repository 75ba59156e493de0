target_sources(halvix_core PRIVATE
  commands/catalogue_queries.cpp
  commands/catalogue_settings.cpp
)
