// A shared library without a component factory, for hosts to refuse.
extern "C" int not_a_component_marker() {
    return 1;
}
