// Layouts of the size and shape of the program's pages, made up for
// benchmarks: nested layouts of buttons, labels, options and sliders, each
// with a dozen attributes and image descriptions written with entities.
#pragma once

#include <string>

namespace bench {

// A page of about `controls` controls.
inline std::string MakeSkinLayout(int controls, int seed)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<Window size=\"1024,700\" caption=\"0,0,0,48\" roundcorner=\"4,4\" bktrans=\"true\">\n"
                      "  <Font name=\"Verdana\" size=\"12\" bold=\"false\" default=\"true\" />\n"
                      "  <Font name=\"Verdana\" size=\"14\" bold=\"true\" />\n"
                      "  <Default name=\"Button\" value=\"textcolor=&quot;#FFFFFFFF&quot; font=&quot;0&quot;\" />\n"
                      "  <VerticalLayout bkimage=\"file='bg.png' corner='4,4,4,4'\" inset=\"10,10,10,10\">\n";
    const char* tags[] = {"Button", "Label", "Option", "Slider", "Text"};
    for (int i = 0; i < controls; ++i) {
        if (i % 12 == 0)
            xml += "    <HorizontalLayout height=\"40\" childpadding=\"6\" name=\"row" + std::to_string(i) + "\">\n";
        const std::string n = std::to_string(i * 7 + seed);
        xml += std::string("      <") + tags[(i + seed) % 5] + " name=\"control_" + n + "\" pos=\"" + n + ",12,"
             + std::to_string(i * 7 + 90) + ",36\" float=\"true\" text=\"Item &amp; " + n + "\" font=\"1\""
             + " textcolor=\"#FF3C3C3C\" align=\"center\" tooltip=\"Press to choose " + n + "\""
             + " normalimage=\"file='button.png' source='0,0,90,24' corner='4,4,4,4'\""
             + " hotimage=\"file='button.png' source='0,24,90,48' mask='#FFFF00FF'\""
             + " pushedimage=\"file='button.png' source='0,48,90,72'\" group=\"g" + std::to_string(i % 4) + "\" />\n";
        if (i % 12 == 11 || i + 1 == controls)
            xml += "    </HorizontalLayout>\n";
    }
    xml += "  </VerticalLayout>\n</Window>\n";
    return xml;
}

}  // namespace bench
