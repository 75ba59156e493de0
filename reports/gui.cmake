target_sources(halvix_gui PRIVATE
  reports/add_timing_window.cpp
  reports/ephem_stat_window.cpp
  reports/group_panel.cpp
  reports/lamp.cpp
  reports/product_window.cpp
  reports/raw_meas_window.cpp
  reports/track_window.cpp
  reports/utc_param_window.cpp
  reports/value_panel.cpp
  reports/vel_pos_window.cpp
)
