// Found first by the layers below the window: a header of this module there does not build.
#error "the rules, the records and the platform use no widgets, charts, printing, sound or pictures"
