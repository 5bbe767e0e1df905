// The framework layer grows here; this unit keeps the library non-empty until then.
