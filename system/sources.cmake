# The DLL sources of this subsystem (its pure text logic is in vlcore).
