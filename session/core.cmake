target_sources(halvix_core PRIVATE
  session/receiver_session.cpp
  session/scheduler.cpp
)
