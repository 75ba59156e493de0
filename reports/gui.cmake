target_sources(halvix_gui PRIVATE
  reports/add_timing_window.cpp
  reports/charts_window.cpp
  reports/config_decoders.cpp
  reports/decoder_context.cpp
  reports/ephem_stat_window.cpp
  reports/position_decoders.cpp
  reports/product_window.cpp
  reports/raw_meas_window.cpp
  reports/satellite_decoders.cpp
  reports/sky_view.cpp
  reports/timing_decoders.cpp
  reports/track_window.cpp
  reports/utc_param_window.cpp
  reports/version_decoders.cpp
  reports/vel_pos_window.cpp
)
