#include "pages/help_text.h"

namespace dravik {

QStringList helpTextLines() {
    // Trailing blanks and the ideographic spaces (U+3000) that indent lines belong to the text.
    return {
        QStringLiteral(u"概述 "),
        QStringLiteral(u"本软件主要用途，是对一定范围内数值进行分析统计。广泛应用于各种多选1的需求，如：南粤"
                       u"风采好彩1、3D和值、双色球蓝球等等的分析。 "),
        QStringLiteral(u""),
        QStringLiteral(u"用法 "),
        QStringLiteral(u"①设置数值：参考有余数除法公式（X÷A=B...C）确定X、A、B、C值。例： "),
        QStringLiteral(u"\u300026÷8=3...2、26÷5=5...1、26÷13=2...0。 "),
        QStringLiteral(u""),
        QStringLiteral(u"X值=数值个数，范围（10~60）。如： "),
        QStringLiteral(u"\u3000X=10，对（0~9）或（01~10）进行分析。 "),
        QStringLiteral(u"\u3000X=20，对（0~19）或（01~20）进行分析。 "),
        QStringLiteral(u""),
        QStringLiteral(u"A、B、C值，一般取A>B，C值必须C<A且C<B。 "),
        QStringLiteral(u""),
        QStringLiteral(u"②修改数据：软件含数据文件（南粤风采好彩1.dat）。可参照建立自己的新文件。"),
        QStringLiteral(u"*开始值为0，号码格式0、1、2…… "),
        QStringLiteral(u"*开始值为1，号码格式01、02、03…… "),
        QStringLiteral(u""),
        QStringLiteral(
            u"K值=每期开奖号码数（1~20，须小于X），每期开出几个号码就设几。如双色球红球：X=33，K=6，"
            u"33÷3=11...0按三个区间统计，33÷33=1...0统计每个号码。"),
        QStringLiteral(u""),
        QStringLiteral(
            u"导入：常见的开奖表“期号、开奖日期、6个红球、蓝球”，号码取“第3列起6列”即读出6个红球；导入"
            u"窗口会自动选中能读出最多行的取法，也可自行选择。号码按数值写成本档案的格式（开始值为1时，"
            u"1写成01），超出范围、重复或列数不足的行不导入，并逐行说明原因。"),
        QStringLiteral(u""),
        QStringLiteral(
            u"③窗口：拖动边缘或四角可放大窗口，双击顶部标题栏最大化或还原；双击左上角图标退出，右键单击顶部"
            u"标题栏可选“最大化”“最小化”或“退出”，Windows下也可按Alt+空格打开系统菜单。"),
        QStringLiteral(u""),
        QStringLiteral(
            u"④走势页的检验：“荐号回测”把荐号组的命中与随便选同样多号码的命中相比，显示“荐号与随机无明显"
            u"差异”，就是荐号并不比运气好。“均匀性检验”看各号码出现的次数是否与随机开奖相符；相符时，"
            u"热号、冷号只是随机的起伏。"),
        QStringLiteral(
            u"“回测全部分组”把每种A、顺序或间隔、分析期数的荐号都回测一遍。试的分组多了，总有一种碰巧显得"
            u"很准，所以它也给出纯随机时至少一种能达到这个成绩的机会；这个机会不小，最好的分组也只是运气好"
            u"。"),
    };
}

QString helpText() {
    return helpTextLines().join(QLatin1Char('\n'));
}

} // namespace dravik
