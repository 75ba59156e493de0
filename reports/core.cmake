target_sources(halvix_core PRIVATE
  reports/config_layouts.cpp
  reports/formatters.cpp
  reports/position_layouts.cpp
  reports/report_registry.cpp
  reports/satellite_layouts.cpp
  reports/timing_layouts.cpp
  reports/version_layouts.cpp
)
