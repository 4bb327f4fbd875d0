// Entry point. Replaced by the application shell once it lands.
int main() { return 0; }
