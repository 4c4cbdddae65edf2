// The application shell is being built.
