# Sources of this subsystem are listed here.
