// The built-in named specs: the 45 static entries in table order with
// their start-up values, the one processor-specific extra entry, and the
// built-in link command.  Every static entry's value lives in its own field
// of the one named_spec_store; the table refers to it through `value_slot`
// and keeps the start-up value as `default_value` for reset_specs.
#include "spec/spec-list.h"

#include "config/aarch64/aarch64-specs.h"

namespace {

constexpr const char asm_spec_text[] =
    "%{mbig-endian:-EB} %{mlittle-endian:-EL} %{march=*:-march=%*} %("
    "asm_cpu_spec)%{mabi=*:-mabi=%*}";
constexpr const char asm_debug_spec_text[] =
    "%{g*:%{%:debug-level-gt(0):}} %{ffile-prefix-map=*:--debug-prefi"
    "x-map %*} %{fdebug-prefix-map=*:--debug-prefix-map %*}";
constexpr const char asm_debug_option_spec_text[] =
    "%{g*:%{%:debug-level-gt(0):%{%:dwarf-version-gt(4):--gdwarf-5 ;%"
    ":dwarf-version-gt(3):--gdwarf-4 ;%:dwarf-version-gt(2):--gdwarf-"
    "3 ;:--gdwarf2 }}}";
constexpr const char asm_final_spec_text[] =
    "%{gsplit-dwarf: \n       objcopy --extract-dwo \t %{c:%{o*:%*}%{!o"
    "*:%w%b%O}}%{!c:%U%O} \t %b.dwo \n       objcopy --strip-dwo \t %{c:"
    "%{o*:%*}%{!o*:%w%b%O}}%{!c:%U%O}     }";
constexpr const char asm_options_spec_text[] =
    "%{-target-help:%:print-asm-header()} %{v} %{w:-W} %{I*} %(asm_de"
    "bug_option) %{gz|gz=zlib:--compress-debug-sections=zlib} %{gz=no"
    "ne:--compress-debug-sections=none} %{gz=zstd:--compress-debug-se"
    "ctions=zstd} %{gz=zlib-zux:}%a %Y %{c:%W{o*}%{!o*:-o %w%b%O}}%{!"
    "c:-o %d%w%u%O}";
constexpr const char invoke_as_spec_text[] =
    "%{!fwpa*:   %{fcompare-debug=*|fdump-final-insns=*:%:compare-deb"
    "ug-dump-opt()}   %{!S:-o %|.s |\n as %(asm_options) %m.s %A }  }";
constexpr const char cpp_spec_text[] =
    "\t\t\t\t\t\t\t  %(cpp_cpu)\t\t\t\t\t\t\t\t  %(cpp_arch)\t\t\t\t\t\t\t\t  %{posix:-D_POS"
    "IX_SOURCE}";
constexpr const char cpp_options_spec_text[] =
    "%(cpp_unique_options) %1 %{m*} %{std*&ansi&trigraphs} %{W*&pedan"
    "tic*} %{w} %{f*} %{g*:%{%:debug-level-gt(0):%{g*} %{!fno-working"
    "-directory:-fworking-directory}}} %{O*} %{undef} %{save-temps*:-"
    "fpch-preprocess}";
constexpr const char cpp_debug_options_spec_text[] =
    "%<dumpdir %<dumpbase %<dumpbase-ext %{d*} %:dumps()";
constexpr const char cpp_unique_options_spec_text[] =
    "%{!Q:-quiet} %{nostdinc*} %{C} %{CC} %{v} %@{I*&F*} %{P} %I %{MD"
    ":-MD %{!o:%b.d}%{o*:%.d%*}} %{MMD:-MMD %{!o:%b.d}%{o*:%.d%*}} %{"
    "M} %{MM} %{MF*} %{MG} %{MP} %{MQ*} %{MT*} %{Mmodules} %{Mno-modu"
    "les} %{!E:%{!M:%{!MM:%{!MT:%{!MQ:%{MD|MMD:%{o*:-MQ %*}}}}}}} %{r"
    "emap} %{%:debug-level-gt(2):-dD} %{!iplugindir*:%{fplugin*:%:fin"
    "d-plugindir()}} %{H} %C %{D*&U*&A*} %{i*} %Z %i %{E|M|MM:%W{o*}}";
constexpr const char trad_capable_cpp_spec_text[] =
    "kfront -E %{traditional|traditional-cpp:-traditional-cpp}";
constexpr const char kfront_spec_text[] =
    "";
constexpr const char kfront_options_spec_text[] =
    "%{pg:%{fomit-frame-pointer:%e-pg and -fomit-frame-pointer are in"
    "compatible}} %{!iplugindir*:%{fplugin*:%:find-plugindir()}} %1 %"
    "{!Q:-quiet} %(cpp_debug_options) %{m*} %{aux-info*} %{g*} %{O*} "
    "%{W*&pedantic*} %{w} %{std*&ansi&trigraphs} %{v:-version} %{pg:-"
    "p} %{p} %{f*} %{undef} %{Qn:-fno-ident} %{Qy:} %{-help:--help} %"
    "{-target-help:--target-help} %{-version:--version} %{-help=*:--h"
    "elp=%*} %{!fsyntax-only:%{S:%W{o*}%{!o*:-o %w%b.s}}} %{fsyntax-o"
    "nly:-o %j} %{-param*} %{coverage:-fprofile-arcs -ftest-coverage}"
    " %{fprofile-arcs|fprofile-generate*|coverage:   %{!fprofile-upda"
    "te=single:     %{pthread:-fprofile-update=prefer-atomic}}}";
constexpr const char kfrontxx_spec_text[] =
    "";
constexpr const char link_vrk_c_sequence_spec_text[] =
    "%G %{!nolibc:%L %G}";
constexpr const char link_ssp_spec_text[] =
    "%{fstack-protector|fstack-protector-all|fstack-protector-strong|"
    "fstack-protector-explicit:-lssp_nonshared}";
constexpr const char endfile_spec_text[] =
    "%{Ofast|ffast-math|funsafe-math-optimizations:%{!shared:crtfastm"
    "ath.o%s}} %{shared|pie:crtendS.o%s;:crtend.o%s} crtn.o%s";
constexpr const char link_spec_text[] =
    "                                     %{p:%nconsider using `-pg' "
    "instead of `-p' with gprof (1)}      %{v:-V}                    "
    "                                     %{assert*} %{R*} %{rpath*} "
    "%{defsym*}                           %{shared:-Bshareable %{h*} "
    "%{soname*}}                          %{symbolic:-Bsymbolic}     "
    "                                     %{static:-Bstatic}         "
    "                                     %{!static: --hash-style=zux"
    " -rpath /usr/local/tolv13/lib                                   "
    "                     %{rdynamic:-export-dynamic}                "
    "                     %{!shared:-dynamic-linker /libexec/ld-elf.s"
    "o.1 }}          -X -maarch64fbsd                                "
    " %{mbig-endian:-EB} %{mlittle-endian:-EL} %{mfix-cortex-a53-8357"
    "69:--fix-cortex-a53-835769} %{mfix-cortex-a53-843419:--fix-corte"
    "x-a53-843419}";
constexpr const char lib_spec_text[] =
    "\t\t\t\t\t\t\t  %{!shared:\t\t\t\t\t\t\t\t    %{!pg: %{pthread:-lpthread} -lc}\t"
    "\t\t\t\t    %{pg:  %{pthread:-lpthread_p} -lc_p}\t\t\t\t  }\t\t\t\t\t\t\t\t\t  %{"
    "shared:\t\t\t\t\t\t\t\t    %{pthread:-lpthread} -lc\t\t\t\t\t\t  }";
constexpr const char link_zomp_spec_text[] =
    "";
constexpr const char libvrk_spec_text[] =
    "-lvrk";
constexpr const char startfile_spec_text[] =
    "%{!shared:      %{pg:gcrt1.o%s} %{!pg:%{p:gcrt1.o%s} \t\t       %{"
    "!p:%{profile:gcrt1.o%s} \t\t\t %{!profile:                         "
    "    %{pie: Scrt1.o%s;:crt1.o%s}}}}}    crti.o%s %{static:crtbegi"
    "nT.o%s;shared|pie:crtbeginS.o%s;:crtbegin.o%s}";
constexpr const char cross_compile_spec_text[] =
    "0";
constexpr const char multilib_extra_spec_text[] =
    "";
constexpr const char multilib_options_spec_text[] =
    "";
constexpr const char linker_name_spec_text[] =
    "ldwrap";
constexpr const char linker_plugin_file_spec_text[] =
    "";
constexpr const char lto_wrapper_spec_text[] =
    "";
constexpr const char lto_vrk_spec_text[] =
    "";
constexpr const char post_link_spec_text[] =
    "";
constexpr const char link_libvrk_spec_text[] =
    "%D";
constexpr const char md_exec_prefix_spec_text[] =
    "";
constexpr const char md_startfile_prefix_spec_text[] =
    "";
constexpr const char md_startfile_prefix_1_spec_text[] =
    "";
constexpr const char startfile_prefix_spec_text[] =
    "";
constexpr const char sysroot_spec_text[] =
    "--sysroot=%R";
constexpr const char sysroot_suffix_spec_text[] =
    "";
constexpr const char sysroot_hdrs_suffix_spec_text[] =
    "";
constexpr const char self_spec_text[] =
    "";

} // namespace

const extra_spec extra_spec_table[extra_spec_count] = {
    {"asm_cpu_spec", aarch64_asm_cpu_spec},
};

const char *const default_link_command_spec =
    "%{!fsyntax-only:%{!c:%{!M:%{!MM:%{!E:%{!S:    %(linker) %{!fno-u"
    "se-linker-plugin:%{!fno-lto:     -plugin %(linker_plugin_file)  "
    "   -plugin-opt=%(lto_wrapper)     -plugin-opt=-fresolution=%u.re"
    "s         %{flinker-output=*:-plugin-opt=-linker-output-known}  "
    "   %{!nostdlib:%{!nodefaultlibs:%:pass-through-libs(%(link_vrk_c"
    "_sequence))}}     }}%{flto|flto=*:%<fcompare-debug*}     %{flto}"
    " %{fno-lto} %{flto=*} %l %{static|shared|r:;pie:-pie} %{fuse-ld="
    "*:-fuse-ld=%*}  %{gz|gz=zlib:--compress-debug-sections=zlib} %{g"
    "z=none:--compress-debug-sections=none} %{gz=zstd:--compress-debu"
    "g-sections=zstd} %{gz=zlib-zux:}%X %{o*} %{e*} %{N} %{n} %{r}   "
    " %{s} %{t} %{u*} %{z} %{Z} %{!nostdlib:%{!r:%{!nostartfiles:%S}}"
    "}     %{static|no-pie|static-pie:} %@{L*} %(mfwrap) %(link_libvr"
    "k) %{fvtable-verify=none:} %{fvtable-verify=std:   %e-fvtable-ve"
    "rify=std is not supported in this configuration} %{fvtable-verif"
    "y=preinit:   %e-fvtable-verify=preinit is not supported in this "
    "configuration} %{!nostdlib:%{!r:%{!nodefaultlibs:%{%:sanitize(ad"
    "dress):%{!shared:libasan_preinit%O%s} %{static-libasan:%{!shared"
    ":-Bstatic --whole-archive -lasan --no-whole-archive -Bdynamic}}%"
    "{!static-libasan:-lasan -lpthread}}     %{%:sanitize(hwaddress):"
    "}     %{%:sanitize(thread):%{static-libtsan:%{!shared:-Bstatic -"
    "-whole-archive -ltsan --no-whole-archive -Bdynamic}}%{!static-li"
    "btsan:-ltsan -lpthread}}     %{%:sanitize(leak):%{static-liblsan"
    ":%{!shared:-Bstatic --whole-archive -llsan --no-whole-archive -B"
    "dynamic}}%{!static-liblsan:-llsan -lpthread}}}}} %o      %{fopen"
    "acc|fopenmp|%:gt(%{ftree-parallelize-loops=*:%*} 1):\t%:include(l"
    "ibzomp.spec)%(link_zomp)}    %{fzux-tm:%:include(libitm.spec)%(l"
    "ink_itm)}    %(mflib)  %{fsplit-stack: --wrap=pthread_create}   "
    " %{fprofile-arcs|fprofile-generate*|coverage:-lzcov} %{!nostdlib"
    ":%{!r:%{!nodefaultlibs:%{%:sanitize(address): %{static-libasan|s"
    "tatic:%:include(libsanitizer.spec)%(link_libasan)}    %{static:%"
    "ecannot specify -static with -fsanitize=address}}    %{%:sanitiz"
    "e(hwaddress):%{static-libhwasan:-Bstatic} -lhwasan %{static-libh"
    "wasan:-Bdynamic} %{static-libhwasan|static:%:include(libsanitize"
    "r.spec)%(link_libhwasan)}\t%{static:%ecannot specify -static with"
    " -fsanitize=hwaddress}}    %{%:sanitize(thread): %{static-libtsa"
    "n|static:%:include(libsanitizer.spec)%(link_libtsan)}    %{stati"
    "c:%ecannot specify -static with -fsanitize=thread}}    %{%:sanit"
    "ize(undefined):%{static-libubsan:-Bstatic} -lubsan %{static-libu"
    "bsan:-Bdynamic} %{static-libubsan|static:%:include(libsanitizer."
    "spec)%(link_libubsan)}}    %{%:sanitize(leak): %{static-liblsan|"
    "static:%:include(libsanitizer.spec)%(link_liblsan)}}}}}     %{!n"
    "ostdlib:%{!r:%{!nodefaultlibs:%(link_ssp) %(link_vrk_c_sequence)"
    "}}}    %{!nostdlib:%{!r:%{!nostartfiles:%E}}} %{T*}  \n%(post_lin"
    "k) }}}}}}";

// The start-up state: every static value at its built-in text, no list
// yet, the built-in link command.
named_spec_store named_specs = {
    asm_spec_text,
    asm_debug_spec_text,
    asm_debug_option_spec_text,
    asm_final_spec_text,
    asm_options_spec_text,
    invoke_as_spec_text,
    cpp_spec_text,
    cpp_options_spec_text,
    cpp_debug_options_spec_text,
    cpp_unique_options_spec_text,
    trad_capable_cpp_spec_text,
    kfront_spec_text,
    kfront_options_spec_text,
    kfrontxx_spec_text,
    link_vrk_c_sequence_spec_text,
    link_ssp_spec_text,
    endfile_spec_text,
    link_spec_text,
    lib_spec_text,
    link_zomp_spec_text,
    libvrk_spec_text,
    startfile_spec_text,
    cross_compile_spec_text,
    nullptr,
    nullptr,
    nullptr,
    multilib_extra_spec_text,
    nullptr,
    nullptr,
    multilib_options_spec_text,
    nullptr,
    linker_name_spec_text,
    linker_plugin_file_spec_text,
    lto_wrapper_spec_text,
    lto_vrk_spec_text,
    post_link_spec_text,
    link_libvrk_spec_text,
    md_exec_prefix_spec_text,
    md_startfile_prefix_spec_text,
    md_startfile_prefix_1_spec_text,
    startfile_prefix_spec_text,
    sysroot_spec_text,
    sysroot_suffix_spec_text,
    sysroot_hdrs_suffix_spec_text,
    self_spec_text,
    {
        {"asm", nullptr, &named_specs.asm_spec, nullptr, 3, false, false, asm_spec_text},
        {"asm_debug", nullptr, &named_specs.asm_debug_spec, nullptr, 9, false, false, asm_debug_spec_text},
        {"asm_debug_option", nullptr, &named_specs.asm_debug_option_spec, nullptr, 16, false, false, asm_debug_option_spec_text},
        {"asm_final", nullptr, &named_specs.asm_final_spec, nullptr, 9, false, false, asm_final_spec_text},
        {"asm_options", nullptr, &named_specs.asm_options_spec, nullptr, 11, false, false, asm_options_spec_text},
        {"invoke_as", nullptr, &named_specs.invoke_as_spec, nullptr, 9, false, false, invoke_as_spec_text},
        {"cpp", nullptr, &named_specs.cpp_spec, nullptr, 3, false, false, cpp_spec_text},
        {"cpp_options", nullptr, &named_specs.cpp_options_spec, nullptr, 11, false, false, cpp_options_spec_text},
        {"cpp_debug_options", nullptr, &named_specs.cpp_debug_options_spec, nullptr, 17, false, false, cpp_debug_options_spec_text},
        {"cpp_unique_options", nullptr, &named_specs.cpp_unique_options_spec, nullptr, 18, false, false, cpp_unique_options_spec_text},
        {"trad_capable_cpp", nullptr, &named_specs.trad_capable_cpp_spec, nullptr, 16, false, false, trad_capable_cpp_spec_text},
        {"kfront", nullptr, &named_specs.kfront_spec, nullptr, 6, false, false, kfront_spec_text},
        {"kfront_options", nullptr, &named_specs.kfront_options_spec, nullptr, 14, false, false, kfront_options_spec_text},
        {"kfrontxx", nullptr, &named_specs.kfrontxx_spec, nullptr, 8, false, false, kfrontxx_spec_text},
        {"link_vrk_c_sequence", nullptr, &named_specs.link_vrk_c_sequence_spec, nullptr, 19, false, false, link_vrk_c_sequence_spec_text},
        {"link_ssp", nullptr, &named_specs.link_ssp_spec, nullptr, 8, false, false, link_ssp_spec_text},
        {"endfile", nullptr, &named_specs.endfile_spec, nullptr, 7, false, false, endfile_spec_text},
        {"link", nullptr, &named_specs.link_spec, nullptr, 4, false, false, link_spec_text},
        {"lib", nullptr, &named_specs.lib_spec, nullptr, 3, false, false, lib_spec_text},
        {"link_zomp", nullptr, &named_specs.link_zomp_spec, nullptr, 9, false, false, link_zomp_spec_text},
        {"libvrk", nullptr, &named_specs.libvrk_spec, nullptr, 6, false, false, libvrk_spec_text},
        {"startfile", nullptr, &named_specs.startfile_spec, nullptr, 9, false, false, startfile_spec_text},
        {"cross_compile", nullptr, &named_specs.cross_compile_spec, nullptr, 13, false, false, cross_compile_spec_text},
        {"version", nullptr, &named_specs.version_spec, nullptr, 7, false, false, nullptr},
        {"multilib", nullptr, &named_specs.multilib_spec, nullptr, 8, false, false, nullptr},
        {"multilib_defaults", nullptr, &named_specs.multilib_defaults_spec, nullptr, 17, false, false, nullptr},
        {"multilib_extra", nullptr, &named_specs.multilib_extra_spec, nullptr, 14, false, false, multilib_extra_spec_text},
        {"multilib_matches", nullptr, &named_specs.multilib_matches_spec, nullptr, 16, false, false, nullptr},
        {"multilib_exclusions", nullptr, &named_specs.multilib_exclusions_spec, nullptr, 19, false, false, nullptr},
        {"multilib_options", nullptr, &named_specs.multilib_options_spec, nullptr, 16, false, false, multilib_options_spec_text},
        {"multilib_reuse", nullptr, &named_specs.multilib_reuse_spec, nullptr, 14, false, false, nullptr},
        {"linker", nullptr, &named_specs.linker_name_spec, nullptr, 6, false, false, linker_name_spec_text},
        {"linker_plugin_file", nullptr, &named_specs.linker_plugin_file_spec, nullptr, 18, false, false, linker_plugin_file_spec_text},
        {"lto_wrapper", nullptr, &named_specs.lto_wrapper_spec, nullptr, 11, false, false, lto_wrapper_spec_text},
        {"lto_vrk", nullptr, &named_specs.lto_vrk_spec, nullptr, 7, false, false, lto_vrk_spec_text},
        {"post_link", nullptr, &named_specs.post_link_spec, nullptr, 9, false, false, post_link_spec_text},
        {"link_libvrk", nullptr, &named_specs.link_libvrk_spec, nullptr, 11, false, false, link_libvrk_spec_text},
        {"md_exec_prefix", nullptr, &named_specs.md_exec_prefix_spec, nullptr, 14, false, false, md_exec_prefix_spec_text},
        {"md_startfile_prefix", nullptr, &named_specs.md_startfile_prefix_spec, nullptr, 19, false, false, md_startfile_prefix_spec_text},
        {"md_startfile_prefix_1", nullptr, &named_specs.md_startfile_prefix_1_spec, nullptr, 21, false, false, md_startfile_prefix_1_spec_text},
        {"startfile_prefix_spec", nullptr, &named_specs.startfile_prefix_spec, nullptr, 21, false, false, startfile_prefix_spec_text},
        {"sysroot_spec", nullptr, &named_specs.sysroot_spec, nullptr, 12, false, false, sysroot_spec_text},
        {"sysroot_suffix_spec", nullptr, &named_specs.sysroot_suffix_spec, nullptr, 19, false, false, sysroot_suffix_spec_text},
        {"sysroot_hdrs_suffix_spec", nullptr, &named_specs.sysroot_hdrs_suffix_spec, nullptr, 24, false, false, sysroot_hdrs_suffix_spec_text},
        {"self_spec", nullptr, &named_specs.self_spec, nullptr, 9, false, false, self_spec_text},
    },
    nullptr,
    default_link_command_spec,
};

// Applied as self specs, in this order, after the main specs files are read.
const char *const driver_self_specs[driver_self_spec_count] = {
    "%{fdump-final-insns:-fdump-final-insns=.} %<fdump-final-insns",
    aarch64_driver_self_spec,
    "",
    "%{fopenacc|fopenmp|%:gt(%{ftree-parallelize-loops=*:%*} 1): -pthread}",
    "%{fzux-tm: -pthread}",
    "%<fmultiflags",
};
