target_sources(halvix_gui PRIVATE
  widgets/accessibility.cpp
  widgets/dialog_support.cpp
  widgets/group_panel.cpp
  widgets/lamp.cpp
  widgets/value_panel.cpp
  widgets/widget_prompts.cpp
  widgets/window_support.cpp
)
